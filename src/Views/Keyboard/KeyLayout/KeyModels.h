#pragma once

// The registry from keyboard model to its key maps, picture layout, metric tables and placement constants.

#include <cstdint>
#include <span>
#include <string_view>

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"
#include "Views/Keyboard/KeyLayout/KeyModelId.h"
#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Everything the system knows of one model. The accessors build their table on first use (thread-safe) and return
// the same process-wide constant ever after.
struct KeyModel {
    KeyModelId id;
    std::string_view name;  // table prefix, e.g. "Quorvath_87"
    const KeyNameMap& (*nameMap)();
    const KeyCodeMap& (*codeMap)();
    const KeyLayout& (*keys)();
    const RowPositionTable& (*yPos)();
    const SizeTable& (*sizeConf)();
    // The picture's first-key x is the size table's "container_margin_left" plus this; its caps' y is the
    // row-position table's value less rowOffset.
    int64_t firstKeyXAfterMargin;
    int64_t rowOffset;
};

// The model's entry, or nullptr when its tables are not part of this build.
const KeyModel* findKeyModel(KeyModelId id);

// Every registered model, in registration order.
std::span<const KeyModel> keyModels();

}  // namespace keyloom
