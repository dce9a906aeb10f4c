#include "platform/bluetooth/SimulatedCentral.h"

#include <QMetaObject>
#include <algorithm>
#include <cassert>

#include "platform/MainThread.h"

namespace keyloom {

std::shared_ptr<SimulatedCentral> SimulatedCentral::create(std::weak_ptr<CentralDelegate> delegate,
                                                           CentralState initial) {
    assert(isMainThread());
    std::shared_ptr<SimulatedCentral> central(new SimulatedCentral(initial));
    central->setDelegate(std::move(delegate));
    SimulatedCentral* raw = central.get();
    central->post([raw] {
        if (auto d = raw->delegate()) d->centralManagerDidUpdateState(*raw);
    });
    return central;
}

std::shared_ptr<SimulatedCentral> SimulatedCentral::createWithKeyboard(std::weak_ptr<CentralDelegate> delegate,
                                                                       uint8_t level) {
    auto central = create(std::move(delegate), CentralState::poweredOn);
    central->addPeripheral("RA VER IV", {{kBatteryServiceUUID, {{kBatteryLevelCharacteristicUUID, {level}}}}});
    return central;
}

SimulatedCentral::~SimulatedCentral() = default;

void SimulatedCentral::post(std::function<void()> fn) {
    // The central is the context: answers still queued when it goes are dropped.
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

std::vector<BluetoothPeripheralRef> SimulatedCentral::retrieveConnectedPeripherals(
    const std::vector<BluetoothUUID>& services) {
    std::vector<BluetoothPeripheralRef> out;
    if (state_ != CentralState::poweredOn) return out;
    for (const auto& p : peripherals_)
        if (std::any_of(services.begin(), services.end(), [&](const BluetoothUUID& u) { return p->offers(u); }))
            out.push_back(p);
    return out;
}

void SimulatedCentral::connect(const BluetoothPeripheralRef& peripheral) {
    if (!peripheral) return;
    connectRequests_.push_back(peripheral);
    const bool known = std::any_of(peripherals_.begin(), peripherals_.end(),
                                   [&](const auto& p) { return p.get() == peripheral.get(); });
    if (!known || state_ != CentralState::poweredOn) return;  // never connects; no answer
    post([this, peripheral] {
        if (auto d = delegate()) d->centralManagerDidConnect(*this, peripheral);
    });
}

void SimulatedCentral::setState(CentralState state) {
    state_ = state;
    post([this] {
        if (auto d = delegate()) d->centralManagerDidUpdateState(*this);
    });
}

std::shared_ptr<SimulatedPeripheral> SimulatedCentral::addPeripheral(std::optional<std::string> name,
                                                                     std::vector<SimulatedGattService> services) {
    auto p = std::make_shared<SimulatedPeripheral>(weak_from_this(), "sim-" + std::to_string(nextIdentifier_++),
                                                   std::move(name), std::move(services));
    peripherals_.push_back(p);
    return p;
}

}  // namespace keyloom
