#include "platform/bluetooth/BluetoothUUID.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace keyloom {

namespace {

constexpr std::string_view kBaseSuffix = "-0000-1000-8000-00805f9b34fb";

bool isHex(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

BluetoothUUID::BluetoothUUID(uint16_t shortUuid) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "0000%04x", unsigned(shortUuid));
    full_ = std::string(buf) + std::string(kBaseSuffix);
}

std::optional<BluetoothUUID> BluetoothUUID::fromString(std::string_view text) {
    BluetoothUUID u;
    if ((text.size() == 4 || text.size() == 8) && isHex(text)) {
        u.full_ = lower(text.size() == 4 ? "0000" + std::string(text) : text) + std::string(kBaseSuffix);
        return u;
    }
    if (text.size() != 36) return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    }
    u.full_ = lower(text);
    return u;
}

std::string BluetoothUUID::toString() const {
    std::string out;
    const bool base = full_.size() == 36 && full_.compare(0, 4, "0000") == 0 && full_.compare(8, 28, kBaseSuffix) == 0;
    out = base ? full_.substr(4, 4) : full_;
    for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace keyloom
