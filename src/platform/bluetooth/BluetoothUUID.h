#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keyloom {

// A Bluetooth UUID, kept in its full 128-bit form. 16-bit UUIDs are those of the Bluetooth base UUID.
class BluetoothUUID {
  public:
    BluetoothUUID() = default;
    explicit BluetoothUUID(uint16_t shortUuid);
    // "180F", "0000180f", or "0000180f-0000-1000-8000-00805f9b34fb" (any case); nullopt when not a UUID.
    static std::optional<BluetoothUUID> fromString(std::string_view text);

    // "180F" for a base UUID, else the full form in upper case.
    std::string toString() const;
    // The full form in lower case, as BlueZ writes it.
    const std::string& fullString() const { return full_; }

    bool operator==(const BluetoothUUID&) const = default;
    bool operator<(const BluetoothUUID& o) const { return full_ < o.full_; }

  private:
    std::string full_;
};

inline const BluetoothUUID kBatteryServiceUUID{0x180F};
inline const BluetoothUUID kBatteryLevelCharacteristicUUID{0x2A19};

// An error a Bluetooth operation reports to its delegate.
struct BluetoothError {
    std::string description;
};

}  // namespace keyloom
