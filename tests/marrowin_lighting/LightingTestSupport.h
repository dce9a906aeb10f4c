#pragma once

#include "SQLite/SQLiteConnection.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SQLite/MarrowinDeviceSQLite.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "platform/DataPaths.h"

namespace keyloom::test {

// "04 18 00" -> {0x04, 0x18, 0x00}
inline std::vector<uint8_t> hex(const std::string& text) {
    std::istringstream in(text);
    std::vector<uint8_t> bytes;
    for (std::string item; in >> item;) bytes.push_back(static_cast<uint8_t>(std::stoul(item, nullptr, 16)));
    return bytes;
}

inline std::vector<uint8_t> bytesAt(const auto& block, size_t offset, size_t count) {
    return {block.begin() + static_cast<std::ptrdiff_t>(offset),
            block.begin() + static_cast<std::ptrdiff_t>(offset + count)};
}

// Write transactions committed to the profile file.
inline uint64_t changeCounter(const std::string& file) {
    return SQLiteConnection::committedTransactions(databaseFolder() + "/" + file);
}

// A file where the database folder should be (no connection), or a database file that is not one.
enum class Broken { NoConnection, NotADatabase };
inline void breakStore(Broken how, const std::string& file) {
    if (how == Broken::NoConnection) {
        std::filesystem::create_directories(applicationSupportFolder());
        std::ofstream(databaseFolder()) << "x";
    } else {
        std::filesystem::create_directories(databaseFolder());
        damageOpenDatabase(databaseFolder() + "/" + file);
    }
}

// The second-generation device types and the model each is drawn with.
struct DeviceModel {
    int64_t deviceType;
    KeyModelId model;
};
inline const std::vector<DeviceModel> kDeviceModels = {
    {1, KeyModelId::MarrowinV2_71}, {100, KeyModelId::Ostrel61}, {101, KeyModelId::Tolmek84},
    {102, KeyModelId::Vindle68},    {103, KeyModelId::Ostrel61}, {105, KeyModelId::OstrelTE61},
    {106, KeyModelId::OstrelTE62},
};

inline const KeyCodeMap& codeMapOf(KeyModelId id) {
    return findKeyModel(id)->codeMap();
}

}  // namespace keyloom::test
