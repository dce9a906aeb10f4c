#pragma once

// The one placement of key caps, shared by both editors' pictures.

#include <cstdint>
#include <string>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

struct KeyModel;

// A cap's frame in picture coordinates (origin bottom left, y upward), in whole points.
struct CapRect {
    int64_t x = 0;
    int64_t y = 0;
    int64_t width = 0;
    int64_t height = 0;

    bool operator==(const CapRect&) const = default;
};

// One placed cap: its index in the layout, its frame and its key name ("key_standard_name").
struct PlacedCap {
    int64_t index = 0;
    CapRect rect;
    std::string keyname;

    bool operator==(const PlacedCap&) const = default;
};

// The two constants by which the editors' picture builders differ.
struct CapPlacement {
    int64_t firstKeyX = 0;  // x at which a "first_key" cap starts its row
    int64_t rowOffset = 0;  // subtracted from the row-position table's y
};

// Walks the caps in order with a running x: a "first_key" cap restarts x at firstKeyX; "has_seperator" == 1 adds
// "key_separator"; "left_extra_width" is added (it may be negative); the cap is ("width" x "key_height") at
// (x, yPos["row_num"] - rowOffset); then x advances by "width". A "row_num" missing from yPos is a table defect.
std::vector<PlacedCap> placeCaps(const KeyLayout& keys, const RowPositionTable& yPos, const SizeTable& sizeConf,
                                 CapPlacement placement);

// The same for a registered model, with its own tables and placement constants.
std::vector<PlacedCap> placeCaps(const KeyModel& model);

}  // namespace keyloom
