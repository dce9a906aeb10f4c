#pragma once

#include <span>
#include <string>

namespace keyloom {

// The files and folders of the user's data: made readable by the user only (the data folder and the login store),
// and kept, never deleted, when they are found damaged.

// Creates `folder` with every missing parent; the folder itself is left readable by the user only (a folder left
// wider by an earlier run is narrowed). False with the reason in `error` when it cannot be made or is no folder.
bool makeUserOnlyFolder(const std::string& folder, std::string& error);

// Creates the file at `path` readable by the user only, before anything opens it, so that it is never readable by
// others; an existing file is only narrowed. False with the reason in `error` when it cannot be created.
bool makeUserOnlyFile(const std::string& path, std::string& error);

// Renames `path` to `path` + `suffix` (then + "-2", "-3" ... when that name is taken; an existing file is never
// replaced), and each of `companions` (suffixes of files that belong with it, e.g. "-journal") that exists beside it
// to the new name + the companion suffix. The new path, or empty with the reason in `error`.
std::string moveAside(const std::string& path, const std::string& suffix, std::span<const char* const> companions,
                      std::string& error);

}  // namespace keyloom
