#pragma once

#include <memory>

#include "platform/bluetooth/BluetoothCentral.h"

namespace keyloom {

// Reads the battery level of the keyboard connected over Bluetooth LE (Battery service 180F, Battery Level 2A19)
// and posts it as "WirelessBatteryValue" {"type": 1, "value": level} on the main thread. It is the delegate of its
// central and of the peripheral it adopts; create it with std::make_shared, then set centralManager to a central
// whose delegate it is (makeBluetoothCentral(reader)). Main thread only; checkBluetoothDevice() called on another
// thread moves itself to the main thread.
class BTBattery : public CentralDelegate, public PeripheralDelegate, public std::enable_shared_from_this<BTBattery> {
  public:
    // The keyboard's Bluetooth name, compared exactly.
    static constexpr const char* kKeyboardName = "RA VER IV";

    BTBattery() = default;
    ~BTBattery() override = default;

    virtual void checkBluetoothDevice();
    // The home screen's battery poll: reads the level again when connected with the characteristic found.
    void readBatteryLevelIfConnected();

    void centralManagerDidUpdateState(BluetoothCentral& central) override;
    void centralManagerDidConnect(BluetoothCentral& central, const BluetoothPeripheralRef& peripheral) override;
    void centralManagerDidDisconnectPeripheral(BluetoothCentral& central, const BluetoothPeripheralRef& peripheral,
                                               const std::optional<BluetoothError>& error) override;
    void peripheralDidDiscoverServices(const BluetoothPeripheralRef& peripheral,
                                       const std::optional<BluetoothError>& error) override;
    void peripheralDidDiscoverCharacteristicsFor(const BluetoothPeripheralRef& peripheral,
                                                 const BluetoothServiceRef& service,
                                                 const std::optional<BluetoothError>& error) override;
    void peripheralDidUpdateValueFor(const BluetoothPeripheralRef& peripheral,
                                     const BluetoothCharacteristicRef& characteristic,
                                     const std::optional<BluetoothError>& error) override;

    std::shared_ptr<BluetoothCentral> centralManager;
    BluetoothPeripheralRef qvPeripheral;
    BluetoothCharacteristicRef batteryCharacteristic;
    bool connectState = false;

  private:
    // Answers about a peripheral that is no longer the adopted one are ignored.
    bool isAdopted(const BluetoothPeripheralRef& peripheral) const;
};

}  // namespace keyloom
