#include <gtest/gtest.h>

#include "platform/hid/HidrawFraming.h"

using namespace keyloom;
using Bytes = std::vector<uint8_t>;

namespace {

// What hidraw puts on the wire for a written buffer: byte 0 is the report number and is dropped when it is 0.
Bytes kernelSends(const Bytes& frame) {
    return !frame.empty() && frame[0] == 0 ? Bytes(frame.begin() + 1, frame.end()) : frame;
}

struct FrameCase {
    const char* name;
    int64_t reportId;
    Bytes payload;
    Bytes frame;
};

class Framing : public ::testing::TestWithParam<FrameCase> {};

}  // namespace

TEST_P(Framing, KeyboardReceivesExactlyThePayload) {
    const auto& c = GetParam();
    const Bytes frame = hidrawFrame(c.reportId, c.payload.data(), c.payload.size());
    EXPECT_EQ(frame, c.frame);
    EXPECT_EQ(kernelSends(frame), c.payload);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Framing,
    ::testing::Values(FrameCase{"firstGeneration", 5, {0x05, 0xF4, 0, 0, 0, 0, 0, 0}, {0x05, 0xF4, 0, 0, 0, 0, 0, 0}},
                      FrameCase{"secondGenerationCommand", 4, {0x04, 0x18, 0, 0}, {0x04, 0x18, 0, 0}},
                      FrameCase{"dataBlockStartingWithZero", 4, {0x00, 0x01, 0x02}, {0x00, 0x00, 0x01, 0x02}},
                      FrameCase{"dataBlockStartingWithOther", 4, {0x07, 0x01}, {0x07, 0x01}},
                      FrameCase{"unnumberedReport", 0, {0x01, 0x02}, {0x00, 0x01, 0x02}},
                      FrameCase{"unnumberedStartingWithZero", 0, {0x00, 0x01}, {0x00, 0x00, 0x01}},
                      FrameCase{"empty", 5, {}, {0x00}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Framing, EveryLeadingByteOfA64ByteBlockArrivesUnchanged) {
    for (int first = 0; first < 256; ++first) {
        Bytes block(64, 0xAB);
        block[0] = static_cast<uint8_t>(first);
        EXPECT_EQ(kernelSends(hidrawFrame(4, block.data(), block.size())), block) << first;
    }
}

TEST(Framing, ReadBuffersKeepTheReportIdOfNumberedReportsOnly) {
    Bytes numbered = hidrawReadBuffer(5, 8);
    ASSERT_EQ(numbered.size(), 8u);
    EXPECT_EQ(numbered[0], 5);
    numbered = {5, 1, 2, 3, 4, 5, 6, 7};
    uint8_t out[8] = {};
    EXPECT_EQ(hidrawUnframeRead(5, numbered, 8, out, 8), 8u);
    EXPECT_EQ(Bytes(out, out + 8), numbered);

    Bytes unnumbered = hidrawReadBuffer(0, 4);
    ASSERT_EQ(unnumbered.size(), 5u);
    unnumbered = {0, 9, 8, 7, 6};
    uint8_t small[4] = {};
    EXPECT_EQ(hidrawUnframeRead(0, unnumbered, 5, small, 4), 4u);
    EXPECT_EQ(Bytes(small, small + 4), (Bytes{9, 8, 7, 6}));

    // Fewer bytes than the buffer, more than claimed, or a smaller output: never past either end.
    EXPECT_EQ(hidrawUnframeRead(5, numbered, 3, out, 8), 3u);
    EXPECT_EQ(hidrawUnframeRead(5, numbered, 100, out, 8), 8u);
    EXPECT_EQ(hidrawUnframeRead(5, numbered, 8, out, 2), 2u);
    EXPECT_EQ(hidrawUnframeRead(0, unnumbered, 1, small, 4), 0u);
}
