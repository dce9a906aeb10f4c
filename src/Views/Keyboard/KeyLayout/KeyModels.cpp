#include "Views/Keyboard/KeyLayout/KeyModels.h"

#include <array>

#include "Views/Keyboard/KeyLayout/Quorvath87KeyMap.h"
#include "Views/Keyboard/KeyLayout/Quorvath87Layout.h"
#include "Views/Keyboard/KeyLayout/QuorvathMetrics.h"

namespace keyloom {

namespace {

// One line per model. A new model adds its line here (and its headers above); nothing else changes.
constexpr std::array kModels{
    KeyModel{KeyModelId::Quorvath87, "Quorvath_87", &Quorvath_87_SuperKeyNameMap, &Quorvath_87_SuperKeyCodeMap,
             &Quorvath_87_Keys, &Quorvath_TE_EN_Y_Pos, &Quorvath_TE_EN_Size_Conf, 1, 176},
};

}  // namespace

const KeyModel* findKeyModel(KeyModelId id) {
    for (const KeyModel& model : kModels) {
        if (model.id == id) return &model;
    }
    return nullptr;
}

std::span<const KeyModel> keyModels() {
    return kModels;
}

}  // namespace keyloom
