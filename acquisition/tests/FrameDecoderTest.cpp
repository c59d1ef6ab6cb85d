// Frame assembly, the engine smoothing, the conversions and resynchronisation
// after lost bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ProtocolTestSupport.h"

namespace {

std::string hex(const Bytes& bytes) {
    std::string out;
    char buffer[8];
    for (uint8_t b : bytes) {
        std::snprintf(buffer, sizeof buffer, "%s%02X", out.empty() ? "" : " ", b);
        out += buffer;
    }
    return out;
}

TEST(FrameDecoder, AssemblesFramesFromHeaderAndDataBytes) {
    struct Case {
        Bytes bytes;
        FrameType type;
        int32_t value;
    };
    const Case cases[] = {
        {{0xA0, 0x10, 0x20, 0x00}, FrameType::RollerPeriod, 8208},
        {{0x87, 0x7F, 0x7F, 0x7F}, FrameType::EnginePeriod, -1},
        {{0x80, 0x00, 0x00, 0x00}, FrameType::EnginePeriod, 0},
        {{0x84, 0x7F, 0x7F, 0x7F}, FrameType::EnginePeriod, 0xFF7F7F - 0x1000000},  // only the third byte gets bit 7
        {{0x83, 0x7F, 0x7F, 0x3F}, FrameType::EnginePeriod, 0x3FFFFF},
        {{0xB8, 0x01, 0x02, 0x03}, FrameType::RollerPeriod, 0x030201},      // bits 4-3 are ignored
        {{0xC5, 0x01, 0x02, 0x03}, FrameType::Status, 0x830281 - 0x1000000},  // bytes 0x81 0x02 0x83
        {{0xE0, 22, 100, 45}, FrameType::Weather, 22 | 100 << 8 | 45 << 16},
        {{0xA0, 0x90, 0x20, 0x00}, FrameType::RollerPeriod, 0x2090},        // a data byte keeps its own bit 7
        {{0x00, 0x7F, 0x12, 0xA0, 0x10, 0x20, 0x00}, FrameType::RollerPeriod, 8208},  // noise before a header
    };
    for (const Case& c : cases) {
        DecoderRig rig;
        rig.feed(c.bytes);
        SCOPED_TRACE("bytes " + hex(c.bytes));
        ASSERT_EQ(rig.decoder.frameCount(), 1u);
        EXPECT_EQ(rig.decoder.lastFrame().type, c.type);
        EXPECT_EQ(rig.decoder.lastFrame().value, c.value);
        EXPECT_EQ(rig.run.applied, 1);
    }
}

TEST(FrameDecoder, StatusMaskRestoresEachBytesBit7) {
    DecoderRig rig;
    rig.feed({0xC5, 0x01, 0x02, 0x03});  // mask 101: bytes 0 and 2
    EXPECT_EQ(rig.live.status[0], 0x81);
    EXPECT_EQ(rig.live.status[1], 0x02);
    EXPECT_EQ(rig.live.status[2], 0x83);
}

TEST(FrameDecoder, RollerFrameGoesToTheRunAfterSettingTheLivePeriod) {
    DecoderRig rig;
    rig.feed({0xA0, 0x10, 0x20, 0x00});
    EXPECT_EQ(rig.live.rollerPeriod, 8208);
    ASSERT_EQ(rig.run.rollerFrames.size(), 1u);
    EXPECT_EQ(rig.run.rollerFrames[0], 8208);
    // no other frame type reaches the run's roller consumer, but each is applied
    rig.feed(encodeFrame(FrameType::EnginePeriod, 80000));
    rig.feed(statusFrame(0, 3, 15));
    rig.feed(weatherFrame(20, 200, 40));
    EXPECT_EQ(rig.run.rollerFrames.size(), 1u);
    EXPECT_EQ(rig.run.applied, 4);
}

TEST(FrameDecoder, WithoutRunRollerFramesOnlySetThePeriod) {
    Settings settings;
    LiveValues live;
    FrameDecoder decoder(live, settings);
    for (uint8_t b : encodeFrame(FrameType::RollerPeriod, 72000)) decoder.feedByte(b);
    for (uint8_t b : statusFrame(1, 0, 0)) decoder.feedByte(b);  // idle: the mode command goes nowhere
    EXPECT_EQ(live.rollerPeriod, 72000);
    EXPECT_FALSE(live.statusSeen);
}

TEST(FrameDecoder, SteadyEnginePeriodSettlesAndReadsAsEngineSpeed) {
    DecoderRig rig;
    rig.feed(statusFrame(0, 3, 15));
    rig.feed(encodeFrame(FrameType::EnginePeriod, 80000), 200);
    EXPECT_EQ(rig.live.enginePeriod, 20000);
    EXPECT_EQ(rig.live.engineAccumulator, 120000);
    EXPECT_EQ(rig.live.engineSpeed(), 6000);
    rig.feed(statusFrame(0, 0, 15));
    EXPECT_EQ(rig.live.engineSpeed(), 0) << "status byte 1 = 0 means no engine speed";
}

TEST(FrameDecoder, EnginePeriodOfZeroOrLessResetsTheSmoothing) {
    for (int32_t reset : {0, -1, -4, 3}) {  // 3 / 4 is 0 as well
        DecoderRig rig;
        rig.feed(statusFrame(0, 3, 15));
        rig.feed(encodeFrame(FrameType::EnginePeriod, 80000), 50);
        ASSERT_GT(rig.live.enginePeriod, 0);
        rig.feed(encodeFrame(FrameType::EnginePeriod, reset));
        EXPECT_EQ(rig.live.engineAccumulator, 0) << "V = " << reset;
        EXPECT_EQ(rig.live.enginePeriod, 0) << "V = " << reset;
        EXPECT_EQ(rig.live.engineSpeed(), 0) << "V = " << reset;
    }
    DecoderRig rig;
    rig.feed({0x87, 0x7F, 0x7F, 0x7F});
    EXPECT_EQ(rig.live.enginePeriod, 0);
}

TEST(FrameDecoder, EngineSmoothingFollowsTheAccumulatorRule) {
    DecoderRig rig;
    // accumulator = accumulator + x - period; period = accumulator / 6
    const int32_t values[] = {80000, 80000, 40000, 120000};
    int32_t accumulator = 0, period = 0;
    for (int32_t v : values) {
        rig.feed(encodeFrame(FrameType::EnginePeriod, v));
        accumulator = accumulator + v / 4 - period;
        period = accumulator / 6;
        EXPECT_EQ(rig.live.engineAccumulator, accumulator) << "after V = " << v;
        EXPECT_EQ(rig.live.enginePeriod, period) << "after V = " << v;
    }
}

TEST(LiveValues, Conversions) {
    struct Case {
        int32_t rollerPeriod;
        double wheel;
        int32_t kmh;
    };
    const Case cases[] = {
        {72000, 1.25, 125}, {0, 1.25, 0}, {-5, 1.25, 0}, {72001, 1.25, 124}, {90000, 1.0, 80}, {1, 1e300, INT32_MAX},
    };
    for (const Case& c : cases) {
        LiveValues live;
        live.rollerPeriod = c.rollerPeriod;
        EXPECT_EQ(live.rollerSpeed(c.wheel), c.kmh) << "period " << c.rollerPeriod << " wheel " << c.wheel;
    }
    LiveValues live;
    live.status[1] = 3;
    live.enginePeriod = 20000;
    EXPECT_EQ(live.engineSpeed(), 6000);
    live.enginePeriod = -20000;
    EXPECT_EQ(live.engineSpeed(), 0);
    live.afAccumulator = 4 * 1473 + 3;
    EXPECT_EQ(live.recordedLambda(), 1473);
    EXPECT_EQ(live.afDisplayValue(), 147);
    live.afAccumulator = -4 * 205;
    EXPECT_EQ(live.recordedLambda(), -205);
    EXPECT_EQ(live.afDisplayValue(), -20) << "integer division truncates toward zero";
    live.gasValue = 680;
    EXPECT_EQ(live.gasDisplayValue(), 680);
}

// A stream of roller frames with distinct values, one byte taken out: the
// decoder applies one wrong frame, loses the frame whose header it ate, and
// decodes every frame after that correctly.
TEST(FrameDecoder, LostByteCostsOneWrongFrameThenInStep) {
    const int frames = 8;
    const int damaged = 3;  // the frame that loses a byte
    Bytes stream;
    std::vector<int32_t> sent;
    for (int i = 0; i < frames; ++i) {
        const int32_t value = 0x123456 + i * 0x010101;  // bit 7 set in no byte
        sent.push_back(value);
        const Bytes f = encodeFrame(FrameType::RollerPeriod, value);
        stream.insert(stream.end(), f.begin(), f.end());
    }
    for (int lost = 0; lost < 4; ++lost) {
        Bytes damagedStream = stream;
        damagedStream.erase(damagedStream.begin() + 4 * damaged + lost);
        DecoderRig rig;
        rig.feed(damagedStream);
        const std::vector<int32_t>& got = rig.run.rollerFrames;
        SCOPED_TRACE("lost byte " + std::to_string(lost) + " of frame " + std::to_string(damaged));
        std::vector<int32_t> expected(sent.begin(), sent.begin() + damaged);
        if (lost == 0) {
            // a lost header: the data bytes are skipped, the frame is simply missing
            expected.insert(expected.end(), sent.begin() + damaged + 1, sent.end());
            EXPECT_EQ(got, expected);
            continue;
        }
        ASSERT_EQ(got.size(), static_cast<size_t>(frames - 1));
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin())) << "frames before the damage";
        EXPECT_NE(got[damaged], sent[damaged]) << "the damaged frame";
        EXPECT_TRUE(std::equal(sent.begin() + damaged + 2, sent.end(), got.begin() + damaged + 1))
            << "frames from the next header on";
    }
}

TEST(FrameDecoder, SurvivesTheDialogClosingMidFrame) {
    // the decoder is program-wide: a frame split across two drains completes
    DecoderRig rig;
    const Bytes f = encodeFrame(FrameType::RollerPeriod, 72000);
    rig.feed(Bytes(f.begin(), f.begin() + 2));
    EXPECT_EQ(rig.decoder.frameCount(), 0u);
    rig.feed(Bytes(f.begin() + 2, f.end()));
    EXPECT_EQ(rig.live.rollerPeriod, 72000);
}

TEST(FrameDecoder, ProgramWideInstancesShareLiveValuesAndSettings) {
    FrameDecoder& decoder = theFrameDecoder();
    EXPECT_EQ(&decoder, &theFrameDecoder());
    for (uint8_t b : encodeFrame(FrameType::RollerPeriod, 4321)) decoder.feedByte(b);
    EXPECT_EQ(theLiveValues().rollerPeriod, 4321);
}

}  // namespace

namespace {

// A frame begun on one line and the bytes of the next line: without the
// drop, the new header is taken as the old frame's data and the status
// frame that follows is lost with it.
TEST(FrameDecoder, DroppedPartialFrameLetsTheNextLineStartClean) {
    for (bool dropped : {false, true}) {
        SCOPED_TRACE(dropped ? "dropped" : "kept");
        DecoderRig rig;
        rig.feed({0xC0, 0x00});  // a status frame cut off after its first byte
        if (dropped) rig.decoder.dropPartialFrame();
        rig.feed(statusFrame(0, 3, 15));
        EXPECT_EQ(rig.decoder.frameCount(), 1u) << "one frame either way";
        const bool clean = rig.live.status[0] == 0 && rig.live.status[1] == 3 && rig.live.status[2] == 15;
        EXPECT_EQ(clean, dropped) << int(rig.live.status[0]) << "," << int(rig.live.status[1]) << ","
                                  << int(rig.live.status[2]);
    }
}

}  // namespace
