#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/bluetooth/BluetoothUUID.h"

namespace keyloom {

class BluetoothService;

// One characteristic of a discovered service, with the value of its last read.
class BluetoothCharacteristic {
  public:
    BluetoothCharacteristic(BluetoothUUID uuid, std::weak_ptr<BluetoothService> service, std::string backendPath)
        : uuid_(std::move(uuid)), service_(std::move(service)), backendPath_(std::move(backendPath)) {}

    const BluetoothUUID& uuid() const { return uuid_; }
    std::shared_ptr<BluetoothService> service() const { return service_.lock(); }
    // None until a read delivered a value.
    const std::optional<std::vector<uint8_t>>& value() const { return value_; }

    // For the backends.
    void setValue(std::vector<uint8_t> value) { value_ = std::move(value); }
    const std::string& backendPath() const { return backendPath_; }

  private:
    BluetoothUUID uuid_;
    std::weak_ptr<BluetoothService> service_;
    std::string backendPath_;
    std::optional<std::vector<uint8_t>> value_;
};

using BluetoothCharacteristicRef = std::shared_ptr<BluetoothCharacteristic>;

}  // namespace keyloom
