#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace keyloom {

// hidraw takes byte 0 of a written report as the report number and, when it is 0, sends the rest alone (report
// id 0). The keyboard must receive exactly the bytes the caller passed, so a payload that starts with 0 (or any
// payload of an unnumbered report) goes out with one 0 byte in front; any other payload goes out unchanged.
std::vector<uint8_t> hidrawFrame(int64_t reportId, const uint8_t* bytes, size_t length);

// Buffer layout for HIDIOCGFEATURE: byte 0 carries the report number; for an unnumbered report hidraw leaves that
// byte in front of the data, which hidrawUnframeRead() removes so the caller sees only the report.
std::vector<uint8_t> hidrawReadBuffer(int64_t reportId, size_t length);
// Copies the report out of a filled read buffer; received is what the ioctl returned. Returns the bytes copied.
size_t hidrawUnframeRead(int64_t reportId, const std::vector<uint8_t>& buffer, size_t received, uint8_t* out,
                         size_t outLength);

}  // namespace keyloom
