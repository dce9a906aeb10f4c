#pragma once

#include <cstdint>
#include <span>

namespace keyloom {

class MarrowinV2;

// One upload of a second-generation settings area: the start command; the area's command with, in byte 8, the number
// of data reports that follow; the first length bytes of data; the save command; then the end command where the area
// takes one. Every transfer is tried; true when all went out.
bool sendMarrowinUpload(MarrowinV2& channel, uint8_t areaCommand, uint8_t reports, std::span<const uint8_t> data,
                        int64_t length, bool withEnd);

}  // namespace keyloom
