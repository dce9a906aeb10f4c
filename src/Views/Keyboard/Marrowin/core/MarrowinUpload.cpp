#include "Views/Keyboard/Marrowin/core/MarrowinUpload.h"

#include <array>

#include "VelkorDevice/MarrowinV2.h"

namespace keyloom {

namespace {

constexpr uint8_t kCommandStart = 0x18;
constexpr uint8_t kCommandSave = 0x02;
constexpr uint8_t kCommandEnd = 0xF0;

}  // namespace

bool sendMarrowinUpload(MarrowinV2& channel, uint8_t areaCommand, uint8_t reports, std::span<const uint8_t> data,
                        int64_t length, bool withEnd) {
    // One command array reused for every command, as the firmware expects byte 8 back at 0 after the data.
    std::array<uint8_t, MarrowinV2::kReportSize + 1> command{};
    command[0] = MarrowinV2::kReportId;
    const auto send = [&](uint8_t code, uint8_t byte8) {
        command[1] = code;
        command[8] = byte8;
        return channel.sendDeviceData(command);
    };
    bool ok = send(kCommandStart, 0);
    ok = send(areaCommand, reports) && ok;
    ok = channel.sendDeviceData(data, length) && ok;
    ok = send(kCommandSave, 0) && ok;
    if (withEnd) ok = send(kCommandEnd, 0) && ok;
    return ok;
}

}  // namespace keyloom
