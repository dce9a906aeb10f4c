#pragma once

// The keyboard layout choice of the second-generation editor: the stored "keyboardLayout" text, the combo box tags
// and their partners, and the items each model offers. Widget-free.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Views/Keyboard/Marrowin/core/MarrowinModelChoice.h"

namespace keyloom {

inline constexpr std::string_view kKeyboardLayoutConfigKey = "keyboardLayout";

// Tags of the four layout combo boxes: key tab and lighting tab, MarrowinV2 pair and OstrelTE 62 pair.
inline constexpr int kKeyLayoutSelectTag = 290;
inline constexpr int kRadiKBLayoutSelectTag = 291;
inline constexpr int kOstrel62KBLayoutSelectTag = 292;
inline constexpr int kOstrel62LightKBLayoutSelectTag = 293;

// The stored text "1" to "8" gives that index; any other text ("0", "", "08", "9") gives 0.
int64_t layoutIndexFromStored(std::string_view text);
// The text stored for a chosen index: "1" to "8" for 1 to 8, "0" for anything else.
std::string storedLayoutText(int64_t index);

// The tag of the combo box that must show the same index as the one with `tag`; none for other tags.
std::optional<int> layoutPartnerTag(int tag);

// The items of a model's layout combo boxes, by index. On the MarrowinV2 index 0 is the 71-key keyboard and the
// others pick the 72-key keyboard's language; on the OstrelTE 62 the index picks the language of its photo.
std::span<const std::string_view> layoutItems(MarrowinLayoutCombos combos);

}  // namespace keyloom
