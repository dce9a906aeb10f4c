#pragma once

#include <string>

namespace keyloom {

// Files and folders that only their user may read: the data folder and the login store.

// Creates `folder` with every missing parent; the folder itself is left readable by the user only (a folder left
// wider by an earlier run is narrowed). False with the reason in `error` when it cannot be made or is no folder.
bool makeUserOnlyFolder(const std::string& folder, std::string& error);

// Creates the file at `path` readable by the user only, before anything opens it, so that it is never readable by
// others; an existing file is only narrowed. False with the reason in `error` when it cannot be created.
bool makeUserOnlyFile(const std::string& path, std::string& error);

}  // namespace keyloom
