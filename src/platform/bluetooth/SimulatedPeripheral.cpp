#include "platform/bluetooth/SimulatedPeripheral.h"

#include <algorithm>

#include "platform/bluetooth/SimulatedCentral.h"

namespace keyloom {

namespace {

bool wanted(const std::vector<BluetoothUUID>& uuids, const BluetoothUUID& uuid) {
    return uuids.empty() || std::find(uuids.begin(), uuids.end(), uuid) != uuids.end();
}

}  // namespace

SimulatedPeripheral::SimulatedPeripheral(std::weak_ptr<SimulatedCentral> central, std::string identifier,
                                         std::optional<std::string> name, std::vector<SimulatedGattService> services)
    : central_(std::move(central)),
      identifier_(std::move(identifier)),
      name_(std::move(name)),
      table_(std::move(services)) {}

bool SimulatedPeripheral::offers(const BluetoothUUID& service) const {
    return std::any_of(table_.begin(), table_.end(), [&](const SimulatedGattService& s) { return s.uuid == service; });
}

std::optional<BluetoothError> SimulatedPeripheral::takeFailure(Request request) {
    auto it = failures_.find(request);
    if (it == failures_.end() || it->second == 0) return std::nullopt;
    --it->second;
    return BluetoothError{"simulated failure"};
}

void SimulatedPeripheral::discoverServices(const std::vector<BluetoothUUID>& uuids) {
    auto central = central_.lock();
    if (!central) return;
    auto error = takeFailure(Request::discoverServices);
    auto self = std::static_pointer_cast<SimulatedPeripheral>(shared_from_this());
    central->post([self, uuids, error] {
        if (!error) {
            std::vector<BluetoothServiceRef> found;
            for (const auto& s : self->table_)
                if (wanted(uuids, s.uuid))
                    found.push_back(std::make_shared<BluetoothService>(s.uuid, self, s.uuid.fullString()));
            self->setServices(std::move(found));
        }
        self->answerServices(error);
    });
}

void SimulatedPeripheral::discoverCharacteristics(const std::vector<BluetoothUUID>& uuids,
                                                  const BluetoothServiceRef& service) {
    auto central = central_.lock();
    if (!central || !service) return;
    auto error = takeFailure(Request::discoverCharacteristics);
    auto self = std::static_pointer_cast<SimulatedPeripheral>(shared_from_this());
    central->post([self, uuids, service, error] {
        if (!error) {
            std::vector<BluetoothCharacteristicRef> found;
            for (const auto& s : self->table_) {
                if (s.uuid != service->uuid()) continue;
                for (const auto& c : s.characteristics)
                    if (wanted(uuids, c.uuid))
                        found.push_back(
                            std::make_shared<BluetoothCharacteristic>(c.uuid, service, c.uuid.fullString()));
            }
            service->setCharacteristics(std::move(found));
        }
        self->answerCharacteristics(service, error);
    });
}

void SimulatedPeripheral::readValue(const BluetoothCharacteristicRef& characteristic) {
    auto central = central_.lock();
    if (!central || !characteristic) return;
    auto error = takeFailure(Request::readValue);
    auto self = std::static_pointer_cast<SimulatedPeripheral>(shared_from_this());
    central->post([self, characteristic, error] {
        if (!error) {
            for (const auto& s : self->table_)
                for (const auto& c : s.characteristics)
                    if (c.uuid == characteristic->uuid()) characteristic->setValue(c.value);
        }
        self->answerValue(characteristic, error);
    });
}

}  // namespace keyloom
