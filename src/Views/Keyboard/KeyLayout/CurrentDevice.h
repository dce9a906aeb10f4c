#pragma once

// The current device's key maps and key lists. Main thread only: every writer and reader runs there (handlers of
// the monitor thread re-post themselves to the main thread first).

#include <cstdint>
#include <memory>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

struct KeyModel;

// Snapshots: a holder keeps the map it got even if the current one is replaced meanwhile. Empty at start.
std::shared_ptr<const KeyNameMap> QV_SuperKeyNameMap();
std::shared_ptr<const KeyCodeMap> QV_SuperKeyCodeMap();

// Codes of the current name map's rows with "key_type" (Caps Lock and modifiers), and of all its other rows.
const std::vector<int64_t>& QV_FlagKeys();
const std::vector<int64_t>& QV_NormalKeys();

// Replaces the current name map by a copy of map; the code map and the key lists stay (home view at load).
void setCurrentKeyNameMap(const KeyNameMap& map);

// Replaces both maps by copies; the key lists stay (second-generation editor before it places its caps).
void setCurrentKeyMaps(const KeyNameMap& nameMap, const KeyCodeMap& codeMap);

// Makes the model's pair current and rebuilds the key lists from its name map (home screen, per accepted keyboard).
void makeCurrentDevice(const KeyModel& model);

// Back to the start state: empty maps and lists.
void resetCurrentDevice();

}  // namespace keyloom
