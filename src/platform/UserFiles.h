#pragma once

#include <sys/types.h>

#include <optional>
#include <span>
#include <string>

namespace keyloom {

// The files and folders of the user's data: made readable by the user only (the data folder and the login store),
// and kept, never deleted, when they are found damaged.

// The user the data belongs to: the effective user. Tests put another one in place to see the user's own files as
// another user's.
uid_t dataUserId() noexcept;
void setDataUserIdForTesting(std::optional<uid_t> uid) noexcept;

// True when `path` exists and belongs to another user.
bool ownedByAnotherUser(const std::string& path);

// Creates `folder` with every missing parent; the folder itself readable by the user only. A folder of another user
// is refused (false, "<folder> is owned by another user" in `error`); one left wider by an earlier run is narrowed,
// never widened: `writable` tells whether the user left themselves write access. False with the reason in `error`
// when it cannot be made or is no folder.
bool makeUserOnlyFolder(const std::string& folder, std::string& error, bool* writable = nullptr);

// Creates the file at `path` readable by the user only, before anything opens it, so that it is never readable by
// others. An existing file of another user is refused like a folder; the user's own is only narrowed, never widened:
// `writable` tells whether the user left themselves write access. False with the reason in `error` when it cannot be
// created, or when it is missing and `create` is false (a folder the user made read-only gets no new file, even from
// root).
bool makeUserOnlyFile(const std::string& path, std::string& error, bool* writable = nullptr, bool create = true);

// True when `path` is a file that its owner may not write to: the user made it read-only.
bool userMadeReadOnly(const std::string& path);

// Renames `path` to `path` + `suffix` (then + "-2", "-3" ... when that name is taken; an existing file is never
// replaced), and each of `companions` (suffixes of files that belong with it, e.g. "-journal") that exists beside it
// to the new name + the companion suffix. The new path, or empty with the reason in `error`.
std::string moveAside(const std::string& path, const std::string& suffix, std::span<const char* const> companions,
                      std::string& error);

}  // namespace keyloom
