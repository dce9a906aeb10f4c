#pragma once

// The four second-generation models of these suites, with what the invariants need to know about each.

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2Metrics.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_71KeyMap.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_71Layout.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_72KeyMap.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_72Layout.h"
#include "Views/Keyboard/KeyLayout/Tolmek84KeyMap.h"
#include "Views/Keyboard/KeyLayout/Tolmek84Layout.h"
#include "Views/Keyboard/KeyLayout/Tolmek84Metrics.h"
#include "Views/Keyboard/KeyLayout/Vindle68KeyMap.h"
#include "Views/Keyboard/KeyLayout/Vindle68Layout.h"
#include "Views/Keyboard/KeyLayout/Vindle68Metrics.h"

namespace keyloom::test {

// A field of one key that the name map and the code map give different values.
struct MapDifference {
    std::string keyName;
    std::string field;  // "short_name" or "layout_index"
    auto operator<=>(const MapDifference&) const = default;
};

struct MvtModel {
    KeyModel model;  // the registry entry the model should have
    const KeyWidthTable& (*keyWidth)();
    std::size_t nameRows;
    std::size_t codeRows;
    std::vector<std::size_t> capsPerRow;
    int64_t rowEndX;                  // right edge of every row's last cap
    std::vector<int64_t> rowBottoms;  // y of each row's caps in the picture
    std::set<int64_t> codeOnly;       // codes the name map lacks
    std::set<int64_t> nameOnly;       // name-map codes the code map lacks
    std::set<MapDifference> differences;
    int64_t leftAltCap;  // the code map's "pos_index" of leftAlt (the cap named "leftWin")
    int64_t fnCode;
    std::set<std::size_t> disabledCaps;
    std::set<std::size_t> extraWidthCaps;  // caps with "left_extra_width" other than 0
};

inline const std::vector<MvtModel>& mvtModels() {
    static const std::vector<MvtModel> models{
        {{KeyModelId::MarrowinV2_71, "MarrowinV2_71", &MarrowinV2_71_SuperKeyNameMap, &MarrowinV2_71_SuperKeyCodeMap,
          &MarrowinV2_71_Keys, &MarrowinV2_TE_EN_Y_Pos, &MarrowinV2_TE_EN_Size_Conf, 1, 192},
         &MarrowinV2_TE_EN_Key_Width,
         72,
         85,
         {16, 16, 15, 14, 10},
         684,
         {189, 148, 109, 70, 30},
         {53, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69},
         {},
         {{"backspace", "short_name"}},
         62,
         255,
         {45, 66},
         {68}},
        {{KeyModelId::MarrowinV2_72, "MarrowinV2_72", &MarrowinV2_72_SuperKeyNameMap, &MarrowinV2_72_SuperKeyCodeMap,
          &MarrowinV2_72_Keys, &MarrowinV2_TE_EN_Y_Pos, &MarrowinV2_TE_EN_Size_Conf, 1, 192},
         &MarrowinV2_TE_EN_Key_Width,
         73,
         86,
         {16, 16, 15, 15, 10},
         684,
         {189, 148, 109, 70, 30},
         {53, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69},
         {},
         {{"backspace", "short_name"}, {"backslash", "short_name"}},
         63,
         255,
         {45, 67},
         {45, 69}},
        {{KeyModelId::Vindle68, "Vindle_68", &Vindle_68_SuperKeyNameMap, &Vindle_68_SuperKeyCodeMap, &Vindle_68_Keys,
          &Vindle_68_EN_Y_Pos, &Vindle_68_EN_Size_Conf, 0, 96},
         &Vindle_68_EN_Key_Width,
         86,
         68,
         {15, 15, 14, 14, 10},
         662,
         {170, 128, 86, 44, 2},
         {},
         {58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 71, 72, 73, 74, 77, 101},
         {{"backspace", "short_name"},
          {"pageUp", "layout_index"},
          {"delete", "layout_index"},
          {"pageDown", "layout_index"}},
         59,
         175,
         {},
         {}},
        {{KeyModelId::Tolmek84, "Tolmek_84", &Tolmek_84_SuperKeyNameMap, &Tolmek_84_SuperKeyCodeMap, &Tolmek_84_Keys,
          &Tolmek_84_EN_Y_Pos, &Tolmek_84_EN_Size_Conf, 0, 60},
         &Tolmek_84_EN_Key_Width,
         86,
         84,
         {16, 15, 15, 14, 14, 10},
         683,
         {226, 184, 142, 100, 58, 16},
         {},
         {73, 101},
         {{"backspace", "short_name"}, {"rightControl", "layout_index"}},
         75,
         175,
         {},
         {}},
    };
    return models;
}

// Names the model in failure messages instead of dumping its bytes.
inline void PrintTo(const MvtModel& m, std::ostream* os) {
    *os << m.model.name;
}

inline std::string modelName(const testing::TestParamInfo<MvtModel>& info) {
    return std::string(info.param.model.name);
}

}  // namespace keyloom::test
