#include "Views/Keyboard/KeyLayout/KeyModels.h"

#include <array>

#include "Views/Keyboard/KeyLayout/MarrowinV2Metrics.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_71KeyMap.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_71Layout.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_72KeyMap.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_72Layout.h"
#include "Views/Keyboard/KeyLayout/Ostrel61KeyMap.h"
#include "Views/Keyboard/KeyLayout/Ostrel61Layout.h"
#include "Views/Keyboard/KeyLayout/OstrelTE61KeyMap.h"
#include "Views/Keyboard/KeyLayout/OstrelTE61Layout.h"
#include "Views/Keyboard/KeyLayout/OstrelTE62KeyMap.h"
#include "Views/Keyboard/KeyLayout/OstrelTE62Layout.h"
#include "Views/Keyboard/KeyLayout/Quorvath87KeyMap.h"
#include "Views/Keyboard/KeyLayout/Quorvath87Layout.h"
#include "Views/Keyboard/KeyLayout/Quorvath88KeyMap.h"
#include "Views/Keyboard/KeyLayout/Quorvath88Layout.h"
#include "Views/Keyboard/KeyLayout/Quorvath91KeyMap.h"
#include "Views/Keyboard/KeyLayout/Quorvath91Layout.h"
#include "Views/Keyboard/KeyLayout/QuorvathMetrics.h"
#include "Views/Keyboard/KeyLayout/Tolmek84KeyMap.h"
#include "Views/Keyboard/KeyLayout/Tolmek84Layout.h"
#include "Views/Keyboard/KeyLayout/Tolmek84Metrics.h"
#include "Views/Keyboard/KeyLayout/Vindle68KeyMap.h"
#include "Views/Keyboard/KeyLayout/Vindle68Layout.h"
#include "Views/Keyboard/KeyLayout/Vindle68Metrics.h"

namespace keyloom {

namespace {

// One line per model. A new model adds its line here (and its headers above); nothing else changes.
constexpr std::array kModels{
    KeyModel{KeyModelId::Quorvath87, "Quorvath_87", &Quorvath_87_SuperKeyNameMap, &Quorvath_87_SuperKeyCodeMap,
             &Quorvath_87_Keys, &Quorvath_TE_EN_Y_Pos, &Quorvath_TE_EN_Size_Conf, 1, 176},
    KeyModel{KeyModelId::Quorvath88, "Quorvath_88", &Quorvath_88_SuperKeyNameMap, &Quorvath_88_SuperKeyCodeMap,
             &Quorvath_88_Keys, &Quorvath_TE_EN_Y_Pos, &Quorvath_TE_EN_Size_Conf, 1, 176},
    KeyModel{KeyModelId::Quorvath91, "Quorvath_91", &Quorvath_91_SuperKeyNameMap, &Quorvath_91_SuperKeyCodeMap,
             &Quorvath_91_Keys, &Quorvath_TE_EN_Y_Pos, &Quorvath_TE_EN_Size_Conf, 1, 176},
    KeyModel{KeyModelId::MarrowinV2_71, "MarrowinV2_71", &MarrowinV2_71_SuperKeyNameMap, &MarrowinV2_71_SuperKeyCodeMap,
             &MarrowinV2_71_Keys, &MarrowinV2_TE_EN_Y_Pos, &MarrowinV2_TE_EN_Size_Conf, 1, 192},
    KeyModel{KeyModelId::MarrowinV2_72, "MarrowinV2_72", &MarrowinV2_72_SuperKeyNameMap, &MarrowinV2_72_SuperKeyCodeMap,
             &MarrowinV2_72_Keys, &MarrowinV2_TE_EN_Y_Pos, &MarrowinV2_TE_EN_Size_Conf, 1, 192},
    KeyModel{KeyModelId::Vindle68, "Vindle_68", &Vindle_68_SuperKeyNameMap, &Vindle_68_SuperKeyCodeMap, &Vindle_68_Keys,
             &Vindle_68_EN_Y_Pos, &Vindle_68_EN_Size_Conf, 0, 96},
    KeyModel{KeyModelId::Tolmek84, "Tolmek_84", &Tolmek_84_SuperKeyNameMap, &Tolmek_84_SuperKeyCodeMap, &Tolmek_84_Keys,
             &Tolmek_84_EN_Y_Pos, &Tolmek_84_EN_Size_Conf, 0, 60},
    KeyModel{KeyModelId::Ostrel61, "Ostrel_61", &Ostrel_61_SuperKeyNameMap, &Ostrel_61_SuperKeyCodeMap, &Ostrel_61_Keys,
             &Ostrel_EN_Y_Pos, &Ostrel_EN_Size_Conf, 29, 185},
    KeyModel{KeyModelId::OstrelTE61, "OstrelTE_61", &OstrelTE_61_SuperKeyNameMap, &OstrelTE_61_SuperKeyCodeMap,
             &OstrelTE_61_Keys, &OstrelTE61_EN_Y_Pos, &OstrelTE61_EN_Size_Conf, 29, 185},
    KeyModel{KeyModelId::OstrelTE62, "OstrelTE_62", &OstrelTE_62_SuperKeyNameMap, &OstrelTE_62_SuperKeyCodeMap,
             &OstrelTE_62_Keys, &OstrelTE62_EN_Y_Pos, &OstrelTE62_EN_Size_Conf, 29, 185},
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
