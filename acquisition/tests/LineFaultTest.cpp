// What the decoder makes of a faulty line: damaged and lost frames reported
// with what the stream still tells about them, and the engine period held
// back while a run records when a single frame jumps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProtocolTestSupport.h"

namespace {

struct FaultLog : ScriptedRun {
    std::vector<LineFault> faults;
    void lineFault(const LineFault& fault) override { faults.push_back(fault); }
};

using Kind = LineFault::Kind;

const char* kindName(Kind kind) {
    switch (kind) {
    case Kind::DamagedFrame: return "damaged";
    case Kind::LastFrameDamaged: return "last damaged";
    case Kind::LostFrame: return "lost";
    case Kind::ImplausibleEngine: return "engine";
    }
    return "?";
}

TEST(LineFaults, DecoderReportsWhatTheStreamTells) {
    // five roller frames; frame 2 (bytes 8-11) is hit, frame 3 starts at byte 12
    const int32_t values[] = {0x01A2B3, 0x02B3C4, 0x03C4D5, 0x04D5E6, 0x05E6F7};
    Bytes clean;
    for (int32_t v : values) clean = concat({clean, encodeFrame(FrameType::RollerPeriod, v)});
    struct Case {
        const char* name;
        int at;           // byte index
        int action;       // 0 drop, 1 insert `byte` before, 2 xor `byte`
        uint8_t byte;
        std::vector<Kind> kinds;
        bool typeKnown;   // of the lost frame
        int32_t candidate;  // a value the lost frame may have carried (0: none)
    };
    const Case cases[] = {
        {"header lost", 8, 0, 0, {Kind::LostFrame}, false, values[2]},
        {"first data byte lost", 9, 0, 0, {Kind::DamagedFrame, Kind::LostFrame}, true, values[3]},
        {"third data byte lost", 11, 0, 0, {Kind::DamagedFrame, Kind::LostFrame}, true, values[3]},
        {"bit 7 of a data byte", 10, 2, 0x80, {Kind::DamagedFrame}, true, 0},
        {"bit 7 of the header", 8, 2, 0x80, {Kind::LostFrame}, true, values[2]},
        {"stray byte after a frame", 12, 1, 0x15, {Kind::LastFrameDamaged}, true, 0},
        {"false header after a frame", 12, 1, 0xA5, {Kind::DamagedFrame, Kind::LostFrame}, true, values[3]},
        {"byte inserted into a frame", 10, 1, 0x15, {Kind::LastFrameDamaged}, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes stream = clean;
        if (c.action == 0) stream.erase(stream.begin() + c.at);
        if (c.action == 1) stream.insert(stream.begin() + c.at, c.byte);
        if (c.action == 2) stream[c.at] ^= c.byte;
        DecoderRig rig;
        FaultLog log;
        rig.decoder.setRun(&log, &log);
        rig.feed(stream);
        std::string got;
        for (const LineFault& f : log.faults) got += std::string(kindName(f.kind)) + " ";
        ASSERT_EQ(log.faults.size(), c.kinds.size()) << got;
        for (size_t i = 0; i < c.kinds.size(); ++i) EXPECT_EQ(log.faults[i].kind, c.kinds[i]) << got;
        const LineFault& last = log.faults.back();
        if (last.kind != Kind::LostFrame) continue;
        EXPECT_EQ(last.typeKnown, c.typeKnown);
        if (c.typeKnown) { EXPECT_EQ(last.type, FrameType::RollerPeriod); }
        bool found = false;
        for (int k = 0; k < last.candidateCount; ++k) found |= last.candidates[k] == c.candidate;
        EXPECT_TRUE(found) << "the lost frame's value is among its " << last.candidateCount << " candidates";
        EXPECT_EQ(log.rollerFrames.back(), values[4]) << "in step again";
    }
}

TEST(LineFaults, DamagedFramesChangeNoLiveValue) {
    DecoderRig rig(0);
    rig.feed(encodeFrame(FrameType::RollerPeriod, 72000));
    rig.feed(encodeFrame(FrameType::EnginePeriod, 80000), 50);
    const int32_t engine = rig.live.enginePeriod;
    for (FrameType type : {FrameType::RollerPeriod, FrameType::EnginePeriod, FrameType::Status}) {
        Bytes f = encodeFrame(type, 0x010203);
        f[2] |= 0x80;
        rig.feed(f);
    }
    EXPECT_EQ(rig.live.rollerPeriod, 72000);
    EXPECT_EQ(rig.live.enginePeriod, engine);
    EXPECT_EQ(rig.live.status[1], 0) << "no status frame taken";
}

TEST(LineFaults, SingleEngineJumpIsHeldWhileARunRecords) {
    for (RunState state : {RunState::Idle, RunState::Recording}) {
        SCOPED_TRACE(state == RunState::Idle ? "idle" : "recording");
        DecoderRig rig;
        FaultLog log;
        log.state = state;
        rig.decoder.setRun(&log, &log);
        rig.feed(encodeFrame(FrameType::EnginePeriod, 80000), 100);
        ASSERT_EQ(rig.live.enginePeriod, 20000);
        rig.feed(encodeFrame(FrameType::EnginePeriod, 160000));  // a misfire doubles one period
        EXPECT_EQ(rig.live.enginePeriod == 20000, state == RunState::Recording);
        rig.feed(encodeFrame(FrameType::EnginePeriod, 80000), 10);
        rig.feed(encodeFrame(FrameType::EnginePeriod, 40000), 2);  // confirmed: the engine did change
        EXPECT_LT(rig.live.enginePeriod, 20000);
        rig.feed(encodeFrame(FrameType::EnginePeriod, -0x7FFF00));  // a flipped sign bit
        EXPECT_EQ(rig.live.enginePeriod != 0, state == RunState::Recording);
        rig.feed(encodeFrame(FrameType::EnginePeriod, 0));
        EXPECT_EQ(rig.live.enginePeriod, 0) << "the controller's no engine signal always counts";
        EXPECT_EQ(log.faults.size(), state == RunState::Recording ? 3u : 0u);
    }
}

}  // namespace
