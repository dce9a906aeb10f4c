#pragma once

// What an editor tells the user about its profile store, without widgets: the notice after a change that was not
// stored, and the one when the editor opens on a store that was damaged or cannot be written.

#include <string>

#include "SQLite/StoreFailure.h"

namespace keyloom {

class ProfileSQLite;

// Whether the keyboard gets a change whose store failed. Each tab keeps its own rule: the settings tab, the key
// records of the first generation and the first generation's mode choice are sent either way; the rest only when
// stored.
enum class IfNotStored { NotSent, SentAnyway };

// "Your change was not stored: <why>." or "Your change was sent to the keyboard but not stored: <why>."; empty for
// StoreFailure::None.
std::string storeFailureNotice(StoreFailure why, IfNotStored ifNotStored);

// What the editor says as it opens on `store`: the file found damaged and kept under another name (the defaults
// are shown), or that changes are not stored and why: the store cannot store (no database, read-only, a full disk,
// another program's lock), or else `seenAtOpening`, how the opening's own stores went. Empty when all is well.
std::string openingNotice(const ProfileSQLite& store, StoreFailure seenAtOpening = StoreFailure::None);

}  // namespace keyloom
