#include "platform/bluetooth/BluetoothPeripheral.h"

namespace keyloom {

void BluetoothPeripheral::answerServices(const std::optional<BluetoothError>& error) {
    if (auto d = delegate()) d->peripheralDidDiscoverServices(shared_from_this(), error);
}

void BluetoothPeripheral::answerCharacteristics(const BluetoothServiceRef& service,
                                                const std::optional<BluetoothError>& error) {
    if (auto d = delegate()) d->peripheralDidDiscoverCharacteristicsFor(shared_from_this(), service, error);
}

void BluetoothPeripheral::answerValue(const BluetoothCharacteristicRef& characteristic,
                                      const std::optional<BluetoothError>& error) {
    if (auto d = delegate()) d->peripheralDidUpdateValueFor(shared_from_this(), characteristic, error);
}

}  // namespace keyloom
