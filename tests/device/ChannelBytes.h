#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace keyloom::test {

// "05 F4 00" -> {0x05, 0xF4, 0x00}
inline std::vector<uint8_t> hex(const std::string& text) {
    std::istringstream in(text);
    std::vector<uint8_t> bytes;
    std::string item;
    while (in >> item) bytes.push_back(static_cast<uint8_t>(std::stoul(item, nullptr, 16)));
    return bytes;
}

// Bytes i mod 256 for i = 0 .. count-1: every byte tells where it came from.
inline std::vector<uint8_t> counting(size_t count, uint8_t start = 0) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(start + i);
    return bytes;
}

}  // namespace keyloom::test
