// The commands that keep the controller's configuration in line with the
// settings, and the device selection that decides the wanted channel mode.
#include <gtest/gtest.h>

#include <string>

#include "ProtocolTestSupport.h"

namespace {

std::string describe(const Bytes& b) {
    std::string out = "(";
    for (size_t i = 0; i < b.size(); ++i) out += (i ? ", " : "") + std::to_string(b[i]);
    return out + ")";
}

TEST(CommandRules, ModeZeroPulseCountAndRatio) {
    struct Case {
        Bytes status;
        Bytes written;
    };
    // PulseCount 15 and Relation 1 ("1:1", ratio code 3): the defaults
    const Case cases[] = {
        {{0, 3, 15}, {}},
        {{0, 1, 15}, {0x63}},
        {{0, 1, 14}, {0x7F, 0x63}},
        {{0, 3, 0}, {0x7F}},
        {{0, 7, 15}, {0x63}},
        {{1, 1, 14}, {0x50}},  // the mode first, and nothing else for that frame
        {{2, 3, 15}, {0x50}},
        {{0x81, 3, 15}, {0x50}},
    };
    for (const Case& c : cases) {
        DecoderRig rig(0);
        const Bytes written = rig.commandsFor(statusFrame(c.status[0], c.status[1], c.status[2]));
        EXPECT_EQ(written, c.written) << "status " << describe(c.status) << " wrote " << describe(written);
    }
}

TEST(CommandRules, SettingsChooseTheCommandBytes) {
    struct Case {
        int16_t pulseCount;
        int16_t relation;
        Bytes status;
        Bytes written;
    };
    const Case cases[] = {
        {0, 0, {0, 3, 15}, {0x70, 0x61}},
        {4, 2, {0, 3, 4}, {0x67}},
        {4, 2, {0, 7, 4}, {}},
        {7, 1, {0, 3, 8}, {0x77}},
        {15, 5, {0, 3, 15}, {}},           // no ratio command for a relation outside the list
        {15, -1, {0, 0, 15}, {}},
        {20, 1, {0, 3, 4}, {}},            // the pulse count is taken modulo 16 ...
        {20, 1, {0, 3, 20}, {0x74}},       // ... and compared as such
        {-1, 1, {0, 3, 0}, {0x7F}},        // never a byte outside 0x70..0x7F
    };
    for (const Case& c : cases) {
        DecoderRig rig(0);
        rig.settings.hardwarePulseCount = c.pulseCount;
        rig.settings.recordRelation = c.relation;
        const Bytes written = rig.commandsFor(statusFrame(c.status[0], c.status[1], c.status[2]));
        EXPECT_EQ(written, c.written) << "PulseCount " << c.pulseCount << " Relation " << c.relation << " status "
                                      << describe(c.status) << " wrote " << describe(written);
    }
}

TEST(CommandRules, LambdaModesOnlyEverSendTheModeCommand) {
    struct Case {
        int device;
        Bytes status;
        Bytes written;
    };
    const Case cases[] = {
        {1, {0, 3, 15}, {0x51}}, {2, {0, 3, 15}, {0x51}}, {3, {2, 3, 15}, {0x51}}, {4, {1, 0, 0}, {}},
        {5, {0, 3, 15}, {0x52}}, {6, {1, 3, 15}, {0x52}}, {6, {2, 99, 3}, {}},
    };
    for (const Case& c : cases) {
        DecoderRig rig(c.device);
        const Bytes written = rig.commandsFor(statusFrame(c.status[0], c.status[1], c.status[2]));
        EXPECT_EQ(written, c.written) << "device " << c.device << " status " << describe(c.status);
    }
}

TEST(CommandRules, NothingIsWrittenWhileWaitingOrRecording) {
    const Bytes disagreeing[] = {statusFrame(1, 1, 14), statusFrame(0, 1, 14), statusFrame(2, 0, 0)};
    for (RunState state : {RunState::Waiting, RunState::Recording}) {
        for (int device = 0; device < 7; ++device) {
            DecoderRig rig(device);
            rig.run.state = state;
            for (const Bytes& frame : disagreeing) rig.feed(frame);
            EXPECT_TRUE(rig.commands.bytes.empty())
                << "state " << static_cast<int>(state) << " device " << device << " wrote "
                << describe(rig.commands.bytes);
            EXPECT_TRUE(rig.live.statusSeen);
        }
    }
}

TEST(CommandRules, UnconfirmedCommandIsRepeatedWithEveryStatusFrame) {
    DecoderRig rig(0);
    rig.feed(statusFrame(0, 1, 14), 3);
    EXPECT_EQ(rig.commands.bytes, (Bytes{0x7F, 0x63, 0x7F, 0x63, 0x7F, 0x63}));
}

TEST(CommandRules, StatusSeenClearedByEveryCommandByte) {
    DecoderRig rig(0);
    rig.feed(statusFrame(0, 3, 15));
    EXPECT_TRUE(rig.live.statusSeen) << "agreeing status frame";
    rig.feed(statusFrame(0, 1, 15));
    EXPECT_FALSE(rig.live.statusSeen) << "a command was written for this frame";
    rig.feed(encodeFrame(FrameType::RollerPeriod, 1000));
    EXPECT_FALSE(rig.live.statusSeen) << "only a status frame sets it";
    rig.feed(statusFrame(0, 3, 15));
    EXPECT_TRUE(rig.live.statusSeen);
    EXPECT_EQ(rig.live.status[1], 3);
}

TEST(DeviceSelection, SetsTypeAndChannelMode) {
    struct Case {
        int index;
        int mode;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 2}, {6, 2}};
    for (const Case& c : cases) {
        DecoderRig rig(c.index);
        EXPECT_EQ(rig.live.deviceType, c.index);
        EXPECT_EQ(rig.live.channelMode, c.mode) << "device " << c.index;
    }
}

TEST(DeviceSelection, SameIndexDoesNothingAndUnknownIndexKeepsTheMode) {
    DecoderRig rig(5);
    rig.live.channelMode = 1;  // as if changed behind the list's back
    rig.decoder.selectDevice(5);
    EXPECT_EQ(rig.live.channelMode, 1) << "the current device type is not applied again";
    rig.decoder.selectDevice(9);
    EXPECT_EQ(rig.live.deviceType, 9);
    EXPECT_EQ(rig.live.channelMode, 1);
    rig.decoder.selectDevice(-1);
    EXPECT_EQ(rig.live.channelMode, 1);
    rig.decoder.resetDeviceSelection();
    EXPECT_EQ(rig.live.deviceType, -1);
    EXPECT_EQ(rig.live.channelMode, 0);
}

TEST(DeviceSelection, OpeningTheDialogKeepsTheSmoothedValues) {
    DecoderRig rig(5);
    rig.feed(statusFrame(2, 128, 40), 40);
    const int32_t af = rig.live.afAccumulator;
    rig.decoder.resetDeviceSelection();
    rig.decoder.selectDevice(0);
    EXPECT_EQ(rig.live.afAccumulator, af);
    EXPECT_EQ(rig.commandsFor(statusFrame(2, 128, 40)), Bytes{0x50});
}

}  // namespace
