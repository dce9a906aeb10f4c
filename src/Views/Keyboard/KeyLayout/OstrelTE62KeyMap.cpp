#include "Views/Keyboard/KeyLayout/OstrelTE62KeyMap.h"

#include "Views/Keyboard/KeyLayout/Ostrel61KeyMap.h"

namespace keyloom {

// The whole Ostrel family carries one pair of maps, row for row; one stored copy serves all three models.
const KeyNameMap& OstrelTE_62_SuperKeyNameMap() {
    return Ostrel_61_SuperKeyNameMap();
}

const KeyCodeMap& OstrelTE_62_SuperKeyCodeMap() {
    return Ostrel_61_SuperKeyCodeMap();
}

}  // namespace keyloom
