// The simulated controller on its own: frame encoding, commands and what its
// frames say about a roller and an engine turning at known speeds.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Controller.h"
#include "FrameDecoder.h"
#include "FrameEncoder.h"

namespace {

TEST(FrameEncoder, MatchesTheWireExamplesAndTheDecoder) {
    EXPECT_EQ(encodeFrame(SimFrameType::RollerPeriod, 8208), (FrameBytes{0xA0, 0x10, 0x20, 0x00}));
    EXPECT_EQ(encodeFrame(SimFrameType::EnginePeriod, -1), (FrameBytes{0x87, 0x7F, 0x7F, 0x7F}));
    EXPECT_EQ(encodeFrame(SimFrameType::Status, 0x81, 0x02, 0x83), (FrameBytes{0xC5, 0x01, 0x02, 0x03}));
    const int32_t values[] = {0, 1, 127, 128, 255, 80000, 0x7FFFFF, -0x800000, -2, 0x123456};
    const SimFrameType types[] = {SimFrameType::EnginePeriod, SimFrameType::RollerPeriod, SimFrameType::Status,
                                  SimFrameType::Weather};
    for (SimFrameType type : types) {
        for (int32_t value : values) {
            Settings settings;
            settings.weatherAuto = 0;
            LiveValues live;
            FrameDecoder decoder(live, settings);
            for (uint8_t b : encodeFrame(type, value)) decoder.feedByte(b);
            ASSERT_EQ(decoder.frameCount(), 1u);
            EXPECT_EQ(static_cast<int>(decoder.lastFrame().type), static_cast<int>(type));
            EXPECT_EQ(decoder.lastFrame().value, value) << "type " << int(type);
        }
    }
}

// Drives the controller with a roller and an engine at constant speed and
// collects its frames.
struct Bench {
    SensorParameters sensorParameters;
    Sensors sensors{sensorParameters};
    std::mt19937_64 random{1};
    ControllerParameters parameters;
    std::vector<TimedFrame> frames;

    std::vector<TimedFrame> run(Controller& controller, double seconds, double rollerRps, double engineRps,
                                double from = 0) {
        frames.clear();
        const double dt = 1e-4;
        for (double t = from; t < from + seconds - dt / 2; t += dt)
            controller.observe(t, t + dt, t * rollerRps, (t + dt) * rollerRps, t * engineRps, (t + dt) * engineRps,
                               frames);
        return frames;
    }
    static std::vector<int32_t> values(const std::vector<TimedFrame>& frames, SimFrameType type) {
        std::vector<int32_t> out;
        for (const TimedFrame& f : frames) {
            if ((f.bytes[0] >> 5 & 3) != static_cast<int>(type)) continue;
            Settings settings;
            LiveValues live;
            FrameDecoder decoder(live, settings);
            for (uint8_t b : f.bytes) decoder.feedByte(b);
            out.push_back(decoder.lastFrame().value);
        }
        return out;
    }
};

TEST(Controller, CommandsChangeItsSettingAndOthersAreIgnored) {
    Bench bench;
    Controller c(bench.parameters, bench.sensors, bench.random);
    EXPECT_EQ(c.mode(), 0);
    EXPECT_EQ(c.ratioCode(), 1);
    EXPECT_EQ(c.pulseIndex(), 0);
    struct Case {
        uint8_t command;
        int mode, ratio, pulses;
    };
    const Case cases[] = {
        {0x51, 1, 1, 0}, {0x52, 2, 1, 0}, {0x53, 2, 1, 0}, {0x50, 0, 1, 0}, {0x63, 0, 3, 0}, {0x67, 0, 7, 0},
        {0x62, 0, 7, 0}, {0x60, 0, 7, 0}, {0x61, 0, 1, 0}, {0x7F, 0, 1, 15}, {0x70, 0, 1, 0}, {0x7A, 0, 1, 10},
        {0x6F, 0, 1, 10}, {0x80, 0, 1, 10}, {0x00, 0, 1, 10}, {0xFF, 0, 1, 10},
    };
    for (const Case& k : cases) {
        c.command(k.command);
        EXPECT_EQ(c.mode(), k.mode) << "after 0x" << std::hex << int(k.command);
        EXPECT_EQ(c.ratioCode(), k.ratio) << "after 0x" << std::hex << int(k.command);
        EXPECT_EQ(c.pulseIndex(), k.pulses) << "after 0x" << std::hex << int(k.command);
    }
}

TEST(Controller, OneRollerFramePerRevolutionWhenThePulseCountMatches) {
    struct Case {
        uint8_t pulseCommand;
        int framesPerRevolution;
    };
    // a 16-tooth wheel at 10 revolutions a second: 200000 ticks per revolution
    const Case cases[] = {{0x7F, 1}, {0x77, 2}, {0x73, 4}, {0x70, 16}};
    for (const Case& k : cases) {
        Bench bench;
        Controller c(bench.parameters, bench.sensors, bench.random);
        c.command(k.pulseCommand);
        const auto periods = Bench::values(bench.run(c, 2.0, 10, 50), SimFrameType::RollerPeriod);
        ASSERT_GE(periods.size(), static_cast<size_t>(19 * k.framesPerRevolution)) << "command " << int(k.pulseCommand);
        for (int32_t p : periods)
            EXPECT_NEAR(p, 200000 / k.framesPerRevolution, 1) << "command 0x" << std::hex << int(k.pulseCommand);
    }
}

TEST(Controller, EnginePeriodFollowsTheRatioSetting) {
    struct Case {
        double signal;      // ignition pulses per revolution
        uint8_t command;    // ratio setting
        int32_t value;      // V for 50 revolutions a second (3000 U/min): 4 x 40000
    };
    const Case cases[] = {
        {1, 0x63, 160000}, {0.5, 0x61, 160000}, {2, 0x67, 160000},  // matching settings
        {1, 0x61, 80000},  {1, 0x67, 320000},   {2, 0x63, 80000},   // mismatched: half or twice
    };
    for (const Case& k : cases) {
        Bench bench;
        bench.parameters.engineSignal = k.signal;
        Controller c(bench.parameters, bench.sensors, bench.random);
        c.command(k.command);
        const auto frames = bench.run(c, 1.0, 10, 50);
        const auto values = Bench::values(frames, SimFrameType::EnginePeriod);
        ASSERT_GE(values.size(), 20u) << "signal " << k.signal;
        for (int32_t v : values) EXPECT_NEAR(v, k.value, 4) << "signal " << k.signal << " command " << int(k.command);
        // at most one frame every 8 ms
        int64_t last = -1000000;
        for (const TimedFrame& f : frames) {
            if ((f.bytes[0] >> 5 & 3) != 0) continue;
            EXPECT_GE(f.tick - last, 16000);
            last = f.tick;
        }
    }
}

TEST(Controller, StoppedEngineSendsZeroPeriods) {
    Bench bench;
    Controller c(bench.parameters, bench.sensors, bench.random);
    bench.run(c, 0.5, 10, 50);
    const auto values = Bench::values(bench.run(c, 1.0, 10, 0, 0.5), SimFrameType::EnginePeriod);
    ASSERT_GE(values.size(), 5u);
    EXPECT_EQ(values.back(), 0);
    int zeros = 0;
    for (int32_t v : values) zeros += v == 0;
    EXPECT_GE(zeros, 7) << "a zero every 100 ms once the signal has been gone for 200 ms";
}

TEST(Controller, StatusEchoesTheSettingOrCarriesTheAnalogueBytes) {
    Bench bench;
    bench.sensorParameters.fixedBytes = true;
    bench.sensorParameters.fixedB1 = 200;
    bench.sensorParameters.fixedB2 = 7;
    Sensors sensors(bench.sensorParameters);
    Controller c(bench.parameters, sensors, bench.random);
    c.command(0x63);
    c.command(0x7F);
    const auto mode0 = Bench::values(bench.run(c, 1.0, 10, 50), SimFrameType::Status);
    ASSERT_EQ(mode0.size(), 10u) << "one status frame every 100 ms";
    EXPECT_EQ(mode0.back(), 0 | 3 << 8 | 15 << 16);
    c.command(0x52);
    const auto mode2 = Bench::values(bench.run(c, 0.3, 10, 50, 1.0), SimFrameType::Status);
    ASSERT_FALSE(mode2.empty());
    EXPECT_EQ(mode2.back(), 2 | 200 << 8 | 7 << 16);
    const auto weather = Bench::values(bench.run(c, 3.0, 10, 50, 1.3), SimFrameType::Weather);
    EXPECT_EQ(weather.size(), 3u) << "one weather frame a second";
}

TEST(Controller, TimingNoiseDoesNotAccumulate) {
    Bench bench;
    bench.parameters.jitterMicroseconds = 20;
    Controller c(bench.parameters, bench.sensors, bench.random);
    c.command(0x7F);
    const auto periods = Bench::values(bench.run(c, 3.0, 10, 50), SimFrameType::RollerPeriod);
    ASSERT_GE(periods.size(), 28u);
    int64_t sum = 0;
    bool varied = false;
    for (int32_t p : periods) {
        sum += p;
        varied = varied || p != periods.front();
    }
    EXPECT_TRUE(varied);
    // each period is the difference of two jittered edges: the sum stays
    // within two edges' noise of the true span
    EXPECT_NEAR(static_cast<double>(sum), 200000.0 * periods.size(), 400);
}

}  // namespace
