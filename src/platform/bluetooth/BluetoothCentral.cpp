#include "platform/bluetooth/BluetoothCentral.h"

#include <cstdlib>
#include <string_view>

#include "platform/bluetooth/BlueZCentral.h"
#include "platform/bluetooth/SimulatedCentral.h"

namespace keyloom {

namespace {

// True when the comma-separated simulation list names the Bluetooth link.
bool simulatesBluetoothLink(std::string_view list) {
    while (!list.empty()) {
        const size_t comma = list.find(',');
        std::string_view name = list.substr(0, comma);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        if (name == "bluetooth") return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

}  // namespace

std::shared_ptr<BluetoothCentral> makeBluetoothCentral(std::weak_ptr<CentralDelegate> delegate) {
    const char* simulate = std::getenv("KEYLOOM_SIMULATE");
    if (!simulate || !*simulate) return BlueZCentral::create(std::move(delegate));
    // Simulated run: the keyboard is connected over Bluetooth only when the list names the Bluetooth link.
    if (simulatesBluetoothLink(simulate)) return SimulatedCentral::createWithKeyboard(std::move(delegate));
    return SimulatedCentral::create(std::move(delegate));
}

}  // namespace keyloom
