#include "Views/Home/core/BTBattery.h"

#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"
#include "platform/PrintLine.h"

namespace keyloom {

void BTBattery::checkBluetoothDevice() {
    if (!isMainThread()) {
        // The reader and its central belong to the main thread.
        runOnMain([weak = weak_from_this()] {
            if (auto self = weak.lock()) self->checkBluetoothDevice();
        });
        return;
    }
    connectState = true;
    qvPeripheral.reset();
    batteryCharacteristic.reset();
    if (!centralManager) return;

    // The last peripheral named exactly so is adopted; only it is connected, so answers of others never arrive.
    BluetoothPeripheralRef adopted;
    for (const auto& p : centralManager->retrieveConnectedPeripherals({kBatteryServiceUUID})) {
        const auto name = p->name();
        if (name && *name == kKeyboardName) adopted = p;
    }
    if (!adopted) return;
    qvPeripheral = adopted;
    centralManager->connect(adopted);
}

void BTBattery::readBatteryLevelIfConnected() {
    if (connectState && qvPeripheral && batteryCharacteristic) qvPeripheral->readValue(batteryCharacteristic);
}

bool BTBattery::isAdopted(const BluetoothPeripheralRef& peripheral) const {
    return peripheral && peripheral == qvPeripheral;
}

void BTBattery::centralManagerDidUpdateState(BluetoothCentral& central) {
    switch (central.state()) {
        case CentralState::unknown:
            printLine("centralManagerDidUpdateState --> 状态 : unknown");
            break;
        case CentralState::resetting:
            printLine("centralManagerDidUpdateState --> 状态 : resetting");
            break;
        case CentralState::unsupported:
            printLine("centralManagerDidUpdateState --> 状态 : unsupported");
            break;
        case CentralState::unauthorized:
            printLine("centralManagerDidUpdateState --> 状态 : unauthorized");
            break;
        case CentralState::poweredOff:
            printLine("centralManagerDidUpdateState --> 状态 : poweredOff");
            connectState = false;
            break;
        case CentralState::poweredOn:
            connectState = false;
            printLine("蓝牙中心开启状态");
            checkBluetoothDevice();
            break;
    }
}

void BTBattery::centralManagerDidConnect(BluetoothCentral&, const BluetoothPeripheralRef& peripheral) {
    if (!isAdopted(peripheral)) return;
    printLine("连接成功");
    peripheral->setDelegate(weak_from_this());
    peripheral->discoverServices({kBatteryServiceUUID});
    connectState = true;
}

void BTBattery::centralManagerDidDisconnectPeripheral(BluetoothCentral&, const BluetoothPeripheralRef& peripheral,
                                                      const std::optional<BluetoothError>&) {
    if (!peripheral) return;
    if (!isAdopted(peripheral)) {
        // An earlier keyboard: it must not touch the adopted one's state.
        peripheral->setDelegate({});
        return;
    }
    printLine("断开连接");
    connectState = false;
    peripheral->setDelegate({});
    batteryCharacteristic.reset();
}

void BTBattery::peripheralDidDiscoverServices(const BluetoothPeripheralRef& peripheral,
                                              const std::optional<BluetoothError>& error) {
    if (!isAdopted(peripheral)) return;
    if (error) {
        printLine("Discovered services for %s with error: " + peripheral->name().value_or("nil"));
        return;
    }
    const auto services = peripheral->services().value_or(std::vector<BluetoothServiceRef>{});
    for (const auto& service : services) {
        printLine("Service found with UUID: %@ " + service->uuid().toString());
        if (service->uuid() == kBatteryServiceUUID && qvPeripheral)
            qvPeripheral->discoverCharacteristics({kBatteryLevelCharacteristicUUID}, service);
    }
}

void BTBattery::peripheralDidDiscoverCharacteristicsFor(const BluetoothPeripheralRef& peripheral,
                                                        const BluetoothServiceRef& service,
                                                        const std::optional<BluetoothError>& error) {
    if (!isAdopted(peripheral) || !service) return;
    if (error) {
        printLine("Discovered characteristics for %@ with error " + service->uuid().toString());
        return;
    }
    if (service->uuid() != kBatteryServiceUUID) return;
    const auto characteristics = service->characteristics().value_or(std::vector<BluetoothCharacteristicRef>{});
    for (const auto& c : characteristics) {
        if (c->uuid() != kBatteryLevelCharacteristicUUID) continue;
        batteryCharacteristic = c;
        if (qvPeripheral) qvPeripheral->readValue(c);
    }
}

void BTBattery::peripheralDidUpdateValueFor(const BluetoothPeripheralRef& peripheral,
                                            const BluetoothCharacteristicRef& characteristic,
                                            const std::optional<BluetoothError>& error) {
    if (!isAdopted(peripheral) || !characteristic) return;
    if (error) {
        printLine("Error updating value for characteristic %@ error " + characteristic->uuid().toString());
        return;
    }
    const auto& value = characteristic->value();
    if (!value || value->empty()) return;
    const int64_t level = value->front();
    NotificationCenter::defaultCenter().post("WirelessBatteryValue",
                                             NotificationDictionary{{"type", int64_t{1}}, {"value", level}});
    printLine(std::to_string(level));
}

}  // namespace keyloom
