#include "Views/Keyboard/KeyLayout/KeyPlacement.h"

#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {

std::vector<PlacedCap> placeCaps(const KeyLayout& keys, const RowPositionTable& yPos, const SizeTable& sizeConf,
                                 CapPlacement placement) {
    const int64_t separator = sizeConf.at("key_separator");
    const int64_t height = sizeConf.at("key_height");
    std::vector<PlacedCap> caps;
    caps.reserve(keys.size());
    int64_t x = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const KeyLayoutRow& cap = keys[i];
        if (cap.first_key) x = placement.firstKeyX;
        if (cap.has_seperator == 1) x += separator;
        x += cap.left_extra_width;
        const int64_t y = yPos.at(cap.row_num) - placement.rowOffset;
        caps.push_back(PlacedCap{static_cast<int64_t>(i), CapRect{x, y, cap.width, height}, cap.key_standard_name});
        x += cap.width;
    }
    return caps;
}

std::vector<PlacedCap> placeCaps(const KeyModel& model) {
    const SizeTable& sizeConf = model.sizeConf();
    const CapPlacement placement{sizeConf.at("container_margin_left") + model.firstKeyXAfterMargin, model.rowOffset};
    return placeCaps(model.keys(), model.yPos(), sizeConf, placement);
}

}  // namespace keyloom
