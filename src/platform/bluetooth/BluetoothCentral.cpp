#include "platform/bluetooth/BluetoothCentral.h"

#include <cstdlib>

#include "platform/bluetooth/BlueZCentral.h"
#include "platform/bluetooth/SimulatedCentral.h"

namespace keyloom {

std::shared_ptr<BluetoothCentral> makeBluetoothCentral(std::weak_ptr<CentralDelegate> delegate) {
    const char* simulate = std::getenv("KEYLOOM_SIMULATE");
    if (simulate && *simulate) return SimulatedCentral::createWithKeyboard(std::move(delegate));
    return BlueZCentral::create(std::move(delegate));
}

}  // namespace keyloom
