#pragma once

#include <map>

#include "platform/bluetooth/BluetoothPeripheral.h"

namespace keyloom {

class SimulatedCentral;

struct SimulatedGattCharacteristic {
    BluetoothUUID uuid;
    std::vector<uint8_t> value;
};

struct SimulatedGattService {
    BluetoothUUID uuid;
    std::vector<SimulatedGattCharacteristic> characteristics;
};

// A scripted peripheral of the simulated central: answers from its service table, on the main thread, and can be
// told to fail its next request of a kind.
class SimulatedPeripheral : public BluetoothPeripheral {
  public:
    enum class Request { discoverServices, discoverCharacteristics, readValue };

    SimulatedPeripheral(std::weak_ptr<SimulatedCentral> central, std::string identifier,
                        std::optional<std::string> name, std::vector<SimulatedGattService> services);

    std::optional<std::string> name() const override { return name_; }
    std::string identifier() const override { return identifier_; }

    void discoverServices(const std::vector<BluetoothUUID>& uuids) override;
    void discoverCharacteristics(const std::vector<BluetoothUUID>& uuids, const BluetoothServiceRef& service) override;
    void readValue(const BluetoothCharacteristicRef& characteristic) override;

    // Script: a failure of the next request of a kind.
    void failNext(Request request) { ++failures_[request]; }
    bool offers(const BluetoothUUID& service) const;

  private:
    std::optional<BluetoothError> takeFailure(Request request);

    std::weak_ptr<SimulatedCentral> central_;
    std::string identifier_;
    std::optional<std::string> name_;
    std::vector<SimulatedGattService> table_;
    std::map<Request, int> failures_;
};

}  // namespace keyloom
