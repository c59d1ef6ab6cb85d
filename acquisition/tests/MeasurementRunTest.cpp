// The recording behind the measurement dialog, fed through the real frame
// decoder: start condition, duration limit, the revolution that passes it,
// the buffer limit, the gear-ratio estimate and the slip lamp, and the file
// written from the buffers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "MeasurementFile.h"
#include "MeasurementRun.h"
#include "ProtocolTestSupport.h"
#include "Utf8.h"

namespace {

struct RunRig {
    Settings settings;
    LiveValues live;
    double estimate = 0.0;
    MeasurementRun run{live, settings, estimate};
    FrameDecoder decoder{live, settings};

    RunRig() {
        decoder.setRun(&run, &run);
        decoder.resetDeviceSelection();
        decoder.selectDevice(0);
        run.allocate();
    }
    void feed(const Bytes& bytes) {
        for (uint8_t b : bytes) decoder.feedByte(b);
    }
    void roller(int32_t period, int times = 1) {
        const Bytes frame = encodeFrame(FrameType::RollerPeriod, period);
        for (int i = 0; i < times; ++i) feed(frame);
    }
    // Engine frames until the smoothed engine period is `period`.
    void engine(int32_t period) {
        const Bytes frame = encodeFrame(FrameType::EnginePeriod, period * 4);
        for (int i = 0; i < 200 && live.enginePeriod != period; ++i) feed(frame);
        ASSERT_EQ(live.enginePeriod, period);
    }
    // "Start" with a start condition that the first roller frame meets.
    void startAtOnce() {
        settings.recordStartMode = 1;
        settings.recordStartVal = 0;
        run.startWaiting();
        roller(100000);
        ASSERT_EQ(run.runState(), RunState::Recording);
    }
};

std::string temporaryPath(const char* name) {
    return std::string(::testing::TempDir()) + name;
}

TEST(MeasurementRun, EndsOnTheFirstRollerFrameAfterTheDurationLimit) {
    struct Case {
        int16_t period;     // Record/Period
        int32_t roller;     // ticks per revolution
        int32_t samples;    // recorded revolutions
        int32_t lastStamp;  // the revolution that passed the limit
    };
    const Case cases[] = {
        {20, 100000, 401, 40100000},  // 400 revolutions reach 40,000,000 exactly: not past it
        {20, 99999, 401, 40099599},
        {20, 3000000, 14, 42000000},
        {1, 2000001, 1, 2000001},     // the first revolution already passes the limit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("period " + std::to_string(c.period) + " s, roller " + std::to_string(c.roller));
        RunRig rig;
        rig.settings.recordPeriod = c.period;
        rig.startAtOnce();
        EXPECT_EQ(rig.run.durationLimit(), c.period * 2000000);
        rig.roller(c.roller, c.samples);
        EXPECT_EQ(rig.run.runState(), RunState::Recording) << "still recording after the passing revolution";
        EXPECT_EQ(rig.run.takeEnding(), MeasurementRun::Ending::None);
        rig.roller(c.roller);
        EXPECT_EQ(rig.run.runState(), RunState::Idle);
        EXPECT_EQ(rig.run.takeEnding(), MeasurementRun::Ending::Complete);
        EXPECT_EQ(rig.run.takeEnding(), MeasurementRun::Ending::None) << "taken once";
        ASSERT_EQ(rig.run.sampleCount(), c.samples);
        EXPECT_EQ(rig.run.times()[0], c.roller) << "the first stamp is the first period, not 0";
        EXPECT_EQ(rig.run.times()[c.samples - 1], c.lastStamp);
        if (c.samples > 1) { EXPECT_LE(rig.run.times()[c.samples - 2], rig.run.durationLimit()); }
        EXPECT_EQ(rig.run.elapsed(), 0) << "idle forgets the elapsed time";
    }
}

TEST(MeasurementRun, PeriodsOutsideTheTickRangeAreMadeToFit) {
    struct Case {
        int16_t period, storedAfter;
        int32_t limit;
    };
    const Case cases[] = {
        {0, 1, 2000000},           // 0 becomes 1 in the settings
        {-5, 1, 2000000},          // so does a negative one
        {1069, 1069, 2138000000},  // the longest run that fits
        {1074, 1074, 2138000000},  // longer ones record 1069 s; the setting stays
        {32767, 32767, 2138000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("period " + std::to_string(c.period));
        RunRig rig;
        rig.settings.recordPeriod = c.period;
        rig.startAtOnce();
        EXPECT_EQ(rig.settings.recordPeriod, c.storedAfter);
        EXPECT_EQ(rig.run.durationLimit(), c.limit);
    }
    // the longest run with the longest roller period a frame carries stays
    // inside 32 bits until it ends
    RunRig rig;
    rig.settings.recordPeriod = 1069;
    rig.startAtOnce();
    const int32_t longest = 0x7FFFFF;
    const int revolutions = 2138000000 / longest + 1;
    rig.roller(longest, revolutions);
    ASSERT_EQ(rig.run.runState(), RunState::Recording);
    EXPECT_GT(rig.run.times()[revolutions - 1], 2138000000);
    rig.roller(longest);
    EXPECT_EQ(rig.run.takeEnding(), MeasurementRun::Ending::Complete);
}

TEST(MeasurementRun, StartConditionIsTestedOnRollerFramesOnly) {
    struct Case {
        int16_t mode, value;
        int32_t enginePeriod, rollerPeriod;
        bool starts;
    };
    const Case cases[] = {
        {0, 2000, 60001, 100000, false},  // 1999 U/min
        {0, 2000, 60000, 100000, true},   // 2000 U/min
        {0, 2000, 40000, 100000, true},
        {1, 100, 60000, 90001, false},    // 99.99 km/h truncates to 99
        {1, 100, 60000, 90000, true},     // 1.25 m x 2,000,000 x 3.6 / 90,000 = 100 km/h
        {1, 100, 60000, -90000, false},   // no speed from a negative period
        {0, 0, 0, 100000, true},          // no engine signal reads 0 U/min, which meets 0
        {0, 1, 0, 100000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " value " + std::to_string(c.value) + " engine " +
                     std::to_string(c.enginePeriod) + " roller " + std::to_string(c.rollerPeriod));
        RunRig rig;
        rig.settings.recordStartMode = c.mode;
        rig.settings.recordStartVal = c.value;
        if (c.enginePeriod > 0) rig.engine(c.enginePeriod);
        rig.run.startWaiting();
        ASSERT_EQ(rig.run.runState(), RunState::Waiting);
        if (c.enginePeriod > 0) rig.engine(c.enginePeriod);
        EXPECT_EQ(rig.run.runState(), RunState::Waiting) << "engine frames never start a run";
        rig.roller(c.rollerPeriod);
        EXPECT_EQ(rig.run.runState(), c.starts ? RunState::Recording : RunState::Waiting);
        EXPECT_EQ(rig.run.sampleCount(), 0) << "the frame that starts the run is not recorded";
        if (c.starts) {
            rig.roller(c.rollerPeriod);
            EXPECT_EQ(rig.run.sampleCount(), 1);
        }
    }
}

TEST(MeasurementRun, EngineSpeedStartFollowsTheSmoothedPeriodDown) {
    // StartMode 0, StartVal 2000: the engine slows its period step by step;
    // the run starts at the first roller frame once the smoothed period is
    // 60,000 or below
    RunRig rig;
    rig.engine(70000);
    rig.run.startWaiting();
    int32_t startedAt = 0;
    for (int32_t period = 70000; period >= 50000 && startedAt == 0; period -= 500) {
        rig.feed(encodeFrame(FrameType::EnginePeriod, period * 4));
        const int32_t smoothed = rig.live.enginePeriod;
        rig.roller(200000);
        if (rig.run.runState() == RunState::Recording) {
            startedAt = smoothed;
        } else {
            EXPECT_GT(smoothed, 60000) << "waiting at a smoothed period of " << smoothed;
        }
    }
    EXPECT_GT(startedAt, 0);
    EXPECT_LE(startedAt, 60000);
}

TEST(MeasurementRun, SixteenThousandRevolutionsFitTheNextOneIsTooMany) {
    for (int32_t revolutions : {16000, 16001}) {
        SCOPED_TRACE(std::to_string(revolutions) + " revolutions");
        RunRig rig;
        rig.settings.recordPeriod = 100;
        rig.startAtOnce();
        rig.roller(10000, revolutions);  // 16001 revolutions take 80 s
        if (revolutions == 16000) {
            EXPECT_EQ(rig.run.runState(), RunState::Recording);
            EXPECT_EQ(rig.run.sampleCount(), 16000);
            EXPECT_EQ(rig.run.times()[15999], 160000000);
            EXPECT_EQ(rig.run.takeEnding(), MeasurementRun::Ending::None);
        } else {
            EXPECT_EQ(rig.run.runState(), RunState::Idle);
            EXPECT_EQ(rig.run.takeEnding(), MeasurementRun::Ending::TooManySamples);
            EXPECT_EQ(rig.run.elapsed(), 0);
        }
    }
}

// Engine period 20,000 against roller period 60,000: three engine
// revolutions per roller revolution.
struct GearCase {
    int16_t gearAuto;
    double gearBefore;
};

TEST(MeasurementRun, GearRatioFollowsTheEstimateBetweenTheFirstAndTheThirdSecond) {
    for (const GearCase& c : {GearCase{1, 1.0}, GearCase{0, 2.5}}) {
        SCOPED_TRACE("GearAuto " + std::to_string(c.gearAuto));
        RunRig rig;
        rig.estimate = 7.0;  // left over from an earlier run
        rig.settings.recordGearAuto = c.gearAuto;
        rig.settings.recordGear = c.gearBefore;
        rig.settings.recordPeriod = 10;
        rig.engine(20000);
        rig.startAtOnce();
        // first second: the estimate is the ratio of the last frames, Gear stays
        rig.roller(60000, 33);  // 1,980,000 ticks
        EXPECT_DOUBLE_EQ(rig.estimate, 3.0);
        EXPECT_DOUBLE_EQ(rig.settings.recordGear, c.gearBefore);
        EXPECT_TRUE(rig.run.slipping()) << "Record/Gear still holds the value from before the run";

        // up to the third second Gear follows the smoothed estimate (auto only)
        rig.engine(25000);  // ratio 2.4 from here on
        rig.roller(60000, 66);  // to 5,940,000 ticks
        EXPECT_LT(rig.estimate, 2.41);
        EXPECT_GT(rig.estimate, 2.39);
        EXPECT_DOUBLE_EQ(rig.settings.recordGear, c.gearAuto ? rig.estimate : c.gearBefore);
        rig.roller(60000, 2);  // 6,000,000 ticks still count, 6,060,000 no longer
        const double fixedGear = rig.settings.recordGear;

        // later it stays fixed while the estimate moves on: wheel spin
        rig.engine(15000);  // ratio 4
        rig.roller(60000, 40);
        EXPECT_DOUBLE_EQ(rig.settings.recordGear, fixedGear);
        EXPECT_GT(rig.estimate, 3.9);
        EXPECT_EQ(rig.run.slipping(), std::fabs(rig.estimate - fixedGear) > rig.estimate * 0.1);
        EXPECT_TRUE(rig.run.slipping());

        // no engine signal: the estimate stands still, recording goes on
        const double before = rig.estimate;
        const int32_t samples = rig.run.sampleCount();
        rig.feed(encodeFrame(FrameType::EnginePeriod, 0));
        rig.roller(60000, 3);
        EXPECT_DOUBLE_EQ(rig.estimate, before);
        EXPECT_EQ(rig.run.sampleCount(), samples + 3);

        // the lamp is off outside a recording
        rig.run.enterIdle();
        EXPECT_FALSE(rig.run.slipping());
    }
}

TEST(MeasurementRun, StopDropsTheRunAndProgressFollowsTheElapsedTime) {
    RunRig rig;
    rig.settings.recordPeriod = 10;  // limit 20,000,000, 200,000 ticks per percent
    EXPECT_EQ(rig.run.progress(), 0);
    rig.startAtOnce();
    rig.roller(100000, 50);
    EXPECT_EQ(rig.run.progress(), 25);
    rig.roller(100000, 1);
    EXPECT_EQ(rig.run.progress(), 25) << "integer percent";
    rig.run.enterIdle();  // "Stop"
    EXPECT_EQ(rig.run.progress(), 0);
    EXPECT_EQ(rig.run.elapsed(), 0);
    rig.roller(100000, 500);
    EXPECT_EQ(rig.run.takeEnding(), MeasurementRun::Ending::None) << "an idle run never ends";
    rig.run.startWaiting();
    rig.roller(100000);
    EXPECT_EQ(rig.run.runState(), RunState::Recording);
    EXPECT_EQ(rig.run.sampleCount(), 0) << "a new run starts empty";
}

TEST(MeasurementRun, LambdaReadingsAreRecordedOnlyWithALambdaChannel) {
    for (int device : {0, 1, 5}) {
        SCOPED_TRACE("device " + std::to_string(device));
        RunRig rig;
        rig.decoder.selectDevice(device);
        rig.startAtOnce();
        for (int i = 0; i < 30; ++i) rig.feed(statusFrame(rig.live.channelMode, 128, 100));
        rig.roller(100000, 3);
        const int32_t want = device == 0 ? 0 : rig.live.afAccumulator / 4;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(rig.run.lambdaValues()[i], want) << "sample " << i;
        if (device != 0) { EXPECT_GT(want, 0); }
    }
}

TEST(MeasurementRun, WritesTheBuffersWithTheSettingsHeaderAndKeepsThem) {
    for (int device : {0, 1}) {
        SCOPED_TRACE("device " + std::to_string(device));
        RunRig rig;
        rig.decoder.selectDevice(device);
        Settings& s = rig.settings;
        s.weatherTemperature = 18;
        s.weatherPressure = 1013;
        s.weatherHumidity = 61;
        s.recordGear = 2.875;
        s.mechanicsInertia = 6.5;
        s.mechanicsWheel = 1.2;
        s.recordComment = L"Prüflauf 4. Gang";
        rig.startAtOnce();
        for (int i = 0; i < 10; ++i) rig.feed(statusFrame(rig.live.channelMode, 128, 100));
        rig.roller(80000, 250);

        const std::string missing = temporaryPath("no-such-folder/run.kxm");
        EXPECT_FALSE(rig.run.write(fromUtf8(missing), 1700000000));
        EXPECT_EQ(rig.run.sampleCount(), 250) << "a failed write keeps the run";

        const std::string path = temporaryPath(device ? "run-lambda.kxm" : "run.kxm");
        ASSERT_TRUE(rig.run.write(fromUtf8(path), 1700000000));
        ASSERT_TRUE(rig.run.allocated());
        EXPECT_EQ(rig.run.times().size(), size_t(MeasurementRun::kBufferEntries)) << "buffers back in full";

        Measurement m;
        int version = 0;
        ASSERT_TRUE(readMeasurement(fromUtf8(path), m, defaultReadContext(), &version));
        EXPECT_EQ(version, device ? 12 : 11);
        EXPECT_EQ(m.sampleCount, 250);
        EXPECT_EQ(m.temperature, 18);
        EXPECT_EQ(m.pressure, 1013);
        EXPECT_EQ(m.humidity, 61);
        EXPECT_DOUBLE_EQ(m.gearRatio, 2.875);
        EXPECT_EQ(m.recordedAt, 1700000000);
        EXPECT_DOUBLE_EQ(m.inertia, 6.5);
        EXPECT_DOUBLE_EQ(m.circumference, 1.2);
        EXPECT_EQ(m.comment, L"Prüflauf 4. Gang");
        ASSERT_EQ(m.times.size(), 250u);
        for (int i = 0; i < 250; ++i) ASSERT_EQ(m.times[i], 80000 * (i + 1)) << "sample " << i;
        EXPECT_EQ(m.hasLambda(), device != 0);
        if (device) { EXPECT_EQ((*m.lambdaValues)[249], rig.run.lambdaValues()[249]); }

        // the same run can be written again, to another name
        const std::string again = temporaryPath("again.kxm");
        ASSERT_TRUE(rig.run.write(fromUtf8(again), 1700000000));
        Measurement copy;
        ASSERT_TRUE(readMeasurement(fromUtf8(again), copy));
        EXPECT_EQ(copy.times, m.times);
        std::remove(path.c_str());
        std::remove(again.c_str());
    }
}

TEST(MeasurementRun, GearRatioTextHasFourSignificantDigits) {
    const struct {
        double gear;
        const wchar_t* text;
    } cases[] = {
        {2.3456, L"2.346"}, {3.0, L"3"}, {1.0, L"1"}, {0.98765, L"0.9877"}, {12.345678, L"12.35"},
        {0.0, L"0"}, {-1.5, L"-1.5"}, {123456.0, L"1.235e+05"}, {0.00012346, L"0.0001235"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gearRatioText(c.gear), c.text) << "gear " << c.gear;
    }
}

}  // namespace
