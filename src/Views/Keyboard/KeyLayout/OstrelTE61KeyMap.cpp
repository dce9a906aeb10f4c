#include "Views/Keyboard/KeyLayout/OstrelTE61KeyMap.h"

#include "Views/Keyboard/KeyLayout/Ostrel61KeyMap.h"

namespace keyloom {

// The whole Ostrel family carries one pair of maps, row for row; one stored copy serves all three models.
const KeyNameMap& OstrelTE_61_SuperKeyNameMap() {
    return Ostrel_61_SuperKeyNameMap();
}

const KeyCodeMap& OstrelTE_61_SuperKeyCodeMap() {
    return Ostrel_61_SuperKeyCodeMap();
}

}  // namespace keyloom
