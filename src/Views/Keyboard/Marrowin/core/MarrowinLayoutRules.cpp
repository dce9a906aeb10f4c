#include "Views/Keyboard/Marrowin/core/MarrowinLayoutRules.h"

namespace keyloom {

namespace {

// The 72-key photos are numbered from 2 (French); 1 and the unnamed indexes show the UK photo.
constexpr std::string_view kMarrowinV2Items[] = {"English (US)", "English (UK)", "French", "German",
                                                 "Italian",      "Spanish",      "Nordic"};
// The 62-key photos are numbered from 1 (French); 0 shows the UK photo.
constexpr std::string_view kOstrelTE62Items[] = {"English (UK)", "French", "German", "Italian", "Spanish", "Nordic"};

}  // namespace

int64_t layoutIndexFromStored(std::string_view text) {
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '8') return text[0] - '0';
    return 0;
}

std::string storedLayoutText(int64_t index) {
    if (index >= 1 && index <= 8) return std::string(1, static_cast<char>('0' + index));
    return "0";
}

std::optional<int> layoutPartnerTag(int tag) {
    switch (tag) {
        case kKeyLayoutSelectTag:
            return kRadiKBLayoutSelectTag;
        case kRadiKBLayoutSelectTag:
            return kKeyLayoutSelectTag;
        case kOstrel62KBLayoutSelectTag:
            return kOstrel62LightKBLayoutSelectTag;
        case kOstrel62LightKBLayoutSelectTag:
            return kOstrel62KBLayoutSelectTag;
        default:
            return std::nullopt;
    }
}

std::span<const std::string_view> layoutItems(MarrowinLayoutCombos combos) {
    switch (combos) {
        case MarrowinLayoutCombos::MarrowinV2:
            return kMarrowinV2Items;
        case MarrowinLayoutCombos::OstrelTE62:
            return kOstrelTE62Items;
        case MarrowinLayoutCombos::None:
            break;
    }
    return {};
}

}  // namespace keyloom
