#pragma once

#include <string>

namespace keyloom {

// The application's bundle identifier: names its data folder.
inline constexpr const char* kBundleIdentifier = "com.velkor.keyloom";

// $XDG_DATA_HOME (default ~/.local/share) + "/" + bundle identifier. Not created here.
std::string applicationSupportFolder();
// applicationSupportFolder() + "/db": the folder of every database file. Not created here.
std::string databaseFolder();

}  // namespace keyloom
