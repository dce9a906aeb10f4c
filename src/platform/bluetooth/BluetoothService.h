#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/bluetooth/BluetoothCharacteristic.h"

namespace keyloom {

class BluetoothPeripheral;

// One discovered GATT service of a peripheral.
class BluetoothService {
  public:
    BluetoothService(BluetoothUUID uuid, std::weak_ptr<BluetoothPeripheral> peripheral, std::string backendPath)
        : uuid_(std::move(uuid)), peripheral_(std::move(peripheral)), backendPath_(std::move(backendPath)) {}

    const BluetoothUUID& uuid() const { return uuid_; }
    std::shared_ptr<BluetoothPeripheral> peripheral() const { return peripheral_.lock(); }
    // None until a characteristic discovery for this service completed.
    const std::optional<std::vector<BluetoothCharacteristicRef>>& characteristics() const { return characteristics_; }

    // For the backends.
    void setCharacteristics(std::vector<BluetoothCharacteristicRef> c) { characteristics_ = std::move(c); }
    const std::string& backendPath() const { return backendPath_; }

  private:
    BluetoothUUID uuid_;
    std::weak_ptr<BluetoothPeripheral> peripheral_;
    std::string backendPath_;
    std::optional<std::vector<BluetoothCharacteristicRef>> characteristics_;
};

using BluetoothServiceRef = std::shared_ptr<BluetoothService>;

}  // namespace keyloom
