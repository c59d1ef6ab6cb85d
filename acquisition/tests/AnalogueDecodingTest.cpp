// The A/F value q and the gas or temperature value of each device type.
#include <gtest/gtest.h>

#include "DeviceTypes.h"
#include "ProtocolTestSupport.h"

namespace {

TEST(AnalogueDecoding, NarrowBandFormula) {
    struct Case {
        int b2;
        int32_t q;
    };
    const Case cases[] = {{0, 0}, {42, 99}, {43, 100}, {100, 100}, {176, 100}, {177, 102}, {200, 156}, {255, 286}};
    for (const Case& c : cases) EXPECT_EQ(narrowBandValue(c.b2), c.q) << "b2 = " << c.b2;
    for (int b2 = 43; b2 <= 176; ++b2) EXPECT_EQ(narrowBandValue(b2), 100) << "plateau, b2 = " << b2;
}

TEST(AnalogueDecoding, UecoTable) {
    struct Case {
        int b1;
        int32_t q;
    };
    const Case cases[] = {
        {0, 16},     // below the table: the first segment extended
        {97, 69},    // v = 1901
        {128, 86},   // v = 2509
        {153, 100},  // v = 3000 exactly: the second segment starts
        {173, 137},  // v = 3392
        {184, 172},  // v = 3607
        {191, 205},  // v = 3745
        {255, 508},  // v = 5000: the last segment extended
    };
    for (const Case& c : cases) EXPECT_EQ(uecoValue(c.b1), c.q) << "b1 = " << c.b1;
    // monotone over the whole byte range
    for (int b1 = 1; b1 < 256; ++b1) EXPECT_GE(uecoValue(b1), uecoValue(b1 - 1)) << "b1 = " << b1;
}

TEST(AnalogueDecoding, MtoAndWb2) {
    EXPECT_EQ(mtoValue(0), 300);
    EXPECT_EQ(mtoValue(150), 0);
    EXPECT_EQ(mtoValue(255), -210);
    EXPECT_EQ(wb2Value(0), 1000);
    EXPECT_EQ(wb2Value(128), 1400);
    EXPECT_EQ(wb2Value(255), 1796);
}

// A steady status stream settles the smoothed values: the A/F accumulator at
// 4q, the gas smoothing at 16 x byte 1, the WB2 temperature at 50 x byte 2.
TEST(AnalogueDecoding, SettledValuesPerDeviceType) {
    struct Case {
        int device;
        uint8_t b1, b2;
        int32_t lambda;  // recorded value q
        int32_t gas;
    };
    const Case cases[] = {
        {1, 100, 42, 99, 1600},   {2, 50, 255, 286, 800},  {3, 128, 77, 86, 0},
        {3, 255, 0, 508, 0},      {4, 20, 80, 140, 320},   {4, 0, 255, -210, 0},
        {5, 128, 40, 1400, 680},  {6, 255, 10, 1796, -820}, {6, 0, 0, 1000, -1320},
    };
    for (const Case& c : cases) {
        DecoderRig rig(c.device);
        const uint8_t mode = rig.live.channelMode;
        rig.feed(statusFrame(mode, c.b1, c.b2), 200);
        EXPECT_EQ(rig.live.recordedLambda(), c.lambda) << "device " << c.device << " bytes " << int(c.b1) << ", "
                                                       << int(c.b2);
        EXPECT_EQ(rig.live.afAccumulator, 4 * c.lambda) << "device " << c.device;
        EXPECT_EQ(rig.live.gasDisplayValue(), c.gas) << "device " << c.device;
    }
}

TEST(AnalogueDecoding, SmoothingStepsFollowTheRules) {
    DecoderRig rig(5);
    int32_t af = 0, temperature = 0;
    for (int i = 0; i < 5; ++i) {
        rig.feed(statusFrame(2, 128, 40));
        af = af + 1400 - af / 4;
        temperature = temperature + 50 * 40 - temperature / 4;
        EXPECT_EQ(rig.live.afAccumulator, af) << "frame " << i;
        EXPECT_EQ(rig.live.wb2TemperatureAccumulator, temperature) << "frame " << i;
        EXPECT_EQ(rig.live.gasValue, temperature / 4 - 1320) << "frame " << i;
    }
    DecoderRig gas(1);
    int32_t value = 0;
    for (int i = 0; i < 5; ++i) {
        gas.feed(statusFrame(1, 200, 90));
        value = value + 4 * 200 - value / 4;
        EXPECT_EQ(gas.live.gasValue, value) << "frame " << i;
    }
}

TEST(AnalogueDecoding, DecodedInEveryRunStateButNotInModeZero) {
    for (RunState state : {RunState::Idle, RunState::Waiting, RunState::Recording}) {
        DecoderRig rig(4);
        rig.run.state = state;
        rig.feed(statusFrame(0, 20, 80));  // even while the controller still echoes mode 0
        EXPECT_EQ(rig.live.afAccumulator, 140) << "state " << static_cast<int>(state);
    }
    DecoderRig speedOnly(0);
    speedOnly.feed(statusFrame(0, 200, 200), 10);
    EXPECT_EQ(speedOnly.live.afAccumulator, 0);
    EXPECT_EQ(speedOnly.live.gasValue, 0);
    // a device type outside the list decodes nothing, whatever the mode
    DecoderRig unknown(1);
    unknown.decoder.selectDevice(7);
    unknown.feed(statusFrame(1, 200, 200), 10);
    EXPECT_EQ(unknown.live.afAccumulator, 0);
}

}  // namespace
