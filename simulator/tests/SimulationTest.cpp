// The whole simulated dynamometer through the program's decoder: the cycle,
// the steady scenario, reproducibility, byte loss and the line's capacity.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "FrameDecoder.h"
#include "RecordingOperator.h"
#include "Simulation.h"

namespace {

// Runs a simulation for `seconds` with the program answering every 100 ms.
struct Session {
    Simulation sim;
    RecordingOperator program;
    std::vector<uint8_t> received;
    explicit Session(const SimulationParameters& p, RecordingParameters r = RecordingParameters())
        : sim(p), program(r, kCalibration) {}
    static constexpr double kCalibration[6] = {0, 1, -300, 2, 0, 1};
    void run(double seconds) {
        std::vector<uint8_t> bytes;
        for (double now = sim.time() + 0.1; now <= seconds + 1e-9; now += 0.1) {
            sim.advanceTo(now);
            bytes.clear();
            sim.takeBytes(now, bytes);
            received.insert(received.end(), bytes.begin(), bytes.end());
            program.drain(bytes, now);
            for (uint8_t c : program.takeCommands()) sim.command(c);
        }
    }
};

// The roller periods and their arrival, decoded from a byte stream.
struct RollerLog : RollerFrameConsumer {
    std::vector<int32_t> periods;
    int frames = 0;
    void rollerFrame(int32_t period) override { periods.push_back(period); }
    void frameApplied() override { ++frames; }
};

TEST(Simulation, ProgramConfiguresTheControllerAndReadsTheSteadySpeed) {
    SimulationParameters p;
    p.vehicle.steadyRpm = 6000;
    Session s(p);
    s.run(3.0);
    EXPECT_EQ(s.sim.controller().mode(), 0);
    EXPECT_EQ(s.sim.controller().ratioCode(), 3);
    EXPECT_EQ(s.sim.controller().pulseIndex(), 15);
    EXPECT_NEAR(s.program.live().engineSpeed(), 6000, 6);
    // 6000 U/min at gear ratio 3 on a 1.25 m roller: 2000 revolutions a minute, 150 km/h
    EXPECT_NEAR(s.program.live().rollerSpeed(1.25), 150, 1);
    // weather frames at 0.5, 1.5 and 2.5 s: 22 °C from the first one on
    EXPECT_EQ(s.program.settings().weatherTemperature, 22);
}

TEST(Simulation, DeviceChoiceSwitchesTheChannelMode) {
    SimulationParameters p;
    p.vehicle.steadyRpm = 3000;
    p.sensors.fixedLambda = 1.0;
    RecordingParameters r;
    r.device = 5;
    Session s(p, r);
    s.run(4.0);
    EXPECT_EQ(s.sim.controller().mode(), 2);
    EXPECT_EQ(s.sim.controller().ratioCode(), 3) << "set while the dialog still had Geschwind. chosen";
    EXPECT_NEAR(s.program.live().recordedLambda(), 1470, 6);
    EXPECT_NEAR(s.program.live().engineSpeed(), 3000, 6);
}

TEST(Simulation, CycleRunsThroughItsPhasesAndRollerFramesNeverStop) {
    SimulationParameters p;
    Simulation sim(p);
    std::vector<DriverPhase> phases{sim.vehicle().phase()};
    double maxRpm = 0;
    Settings settings;
    LiveValues live;
    FrameDecoder decoder(live, settings);
    RollerLog log;
    decoder.setRun(nullptr, &log);
    std::vector<uint8_t> bytes;
    double lastRoller = 0, longestGap = 0;
    size_t rollerFrames = 0;
    for (double now = 0.01; now < 60; now += 0.01) {
        sim.advanceTo(now);
        if (sim.vehicle().phase() != phases.back()) phases.push_back(sim.vehicle().phase());
        maxRpm = std::max(maxRpm, sim.vehicle().engineRpm());
        bytes.clear();
        sim.takeBytes(now, bytes);
        for (uint8_t b : bytes) decoder.feedByte(b);
        if (log.periods.size() != rollerFrames) {
            rollerFrames = log.periods.size();
            longestGap = std::max(longestGap, now - lastRoller);
            lastRoller = now;
        }
        if (sim.vehicle().phase() == DriverPhase::Idle && now > 5) {
            // in gear at idle the roller turns slowly
            EXPECT_GT(sim.vehicle().rollerRpm(), 800) << "at " << now << " s";
        }
    }
    const std::vector<DriverPhase> cycle{DriverPhase::Idle, DriverPhase::PullAway, DriverPhase::Pull,
                                         DriverPhase::CoastDown, DriverPhase::Brake};
    ASSERT_GE(phases.size(), 2 * cycle.size());
    for (size_t i = 0; i < phases.size(); ++i) EXPECT_EQ(phases[i], cycle[i % cycle.size()]) << "phase " << i;
    EXPECT_GE(sim.vehicle().cyclesCompleted(), 2);
    EXPECT_NEAR(maxRpm, 6500, 20);
    EXPECT_LT(longestGap, 0.5) << "roller frames never stop";
}

TEST(Simulation, PhaseDurationsFollowTheParameters) {
    SimulationParameters p;
    Simulation sim(p);
    double pullStart = -1, coastStart = -1, brakeStart = -1;
    double rpmAtPull = 0;
    for (double now = 0.001; now < 30 && brakeStart < 0; now += 0.001) {
        sim.advanceTo(now);
        const DriverPhase phase = sim.vehicle().phase();
        if (phase == DriverPhase::PullAway && pullStart < 0) pullStart = now;
        if (phase == DriverPhase::Pull && rpmAtPull == 0) rpmAtPull = sim.vehicle().rollerRpm();
        if (phase == DriverPhase::CoastDown && coastStart < 0) coastStart = now;
        if (phase == DriverPhase::Brake && brakeStart < 0) brakeStart = now;
    }
    EXPECT_NEAR(pullStart, 5.0, 0.01) << "idle about 5 s";
    EXPECT_NEAR(rpmAtPull, 1500, 10) << "full load from 1500 U/min";
    EXPECT_NEAR(brakeStart - coastStart, 8.0, 0.01) << "coast-down about 8 s";
}

TEST(Simulation, SameSeedSameBytesAndNoiseDependsOnTheSeed) {
    auto capture = [](uint64_t seed, double noise) {
        SimulationParameters p;
        p.seed = seed;
        p.controller.jitterMicroseconds = noise;
        p.sensors.noise = noise > 0;
        Session s(p);
        s.run(12.0);
        return s.received;
    };
    EXPECT_EQ(capture(1, 0), capture(1, 0));
    EXPECT_EQ(capture(1, 0), capture(2, 0)) << "without noise the seed does not matter";
    EXPECT_EQ(capture(3, 10), capture(3, 10));
    EXPECT_NE(capture(3, 10), capture(4, 10));
}

TEST(Simulation, LostBytesCostSingleFrames) {
    SimulationParameters p;
    p.vehicle.steadyRpm = 3000;
    Simulation clean(p);
    p.byteLoss = 0.01;
    Simulation lossy(p);
    auto decode = [](Simulation& sim) {
        Settings settings;
        LiveValues live;
        FrameDecoder decoder(live, settings);
        RollerLog log;
        decoder.setRun(nullptr, &log);
        sim.advanceTo(20);
        std::vector<uint8_t> bytes;
        sim.takeBytes(20, bytes);
        for (uint8_t b : bytes) decoder.feedByte(b);
        return std::make_pair(bytes.size(), log.frames);
    };
    const auto [cleanBytes, cleanFrames] = decode(clean);
    const auto [lossyBytes, lossyFrames] = decode(lossy);
    const size_t lost = cleanBytes - lossyBytes;
    EXPECT_GT(lost, 10u);
    // a lost byte costs the frame it was in and, inside a frame, the next one
    EXPECT_GE(lossyFrames, cleanFrames - 2 * static_cast<int>(lost));
    EXPECT_LT(lossyFrames, cleanFrames);
}

TEST(Simulation, LineCarriesAtMost960BytesASecond) {
    SimulationParameters p;
    p.vehicle.steadyRpm = 6500;
    p.controller.pulseIndex = 0;  // 16 roller frames a revolution: more than the line can carry
    Simulation sim(p);
    std::vector<uint8_t> bytes;
    for (double now = 1; now <= 5; now += 1) {
        bytes.clear();
        sim.advanceTo(now);
        sim.takeBytes(now, bytes);
        EXPECT_LE(bytes.size(), 961u) << "second ending at " << now;
        EXPECT_GE(bytes.size(), 900u) << "second ending at " << now;
    }
}

}  // namespace

namespace {

// The line's faults throw their own dice: with edge jitter on, a garbled
// line still carries the clean line's bytes wherever no bit was flipped,
// and inserted bytes leave the clean stream as a subsequence.
TEST(Simulation, LineFaultsLeaveTheVehicleAndItsNoiseAlone) {
    auto capture = [](double garble, double extra) {
        SimulationParameters p;
        p.seed = 5;
        p.controller.jitterMicroseconds = 10;
        p.sensors.noise = true;
        p.byteGarble = garble;
        p.byteExtra = extra;
        Simulation sim(p);
        sim.advanceTo(15);
        std::vector<uint8_t> bytes;
        sim.takeBytes(15, bytes);
        return bytes;
    };
    const std::vector<uint8_t> clean = capture(0, 0), garbled = capture(0.003, 0), extra = capture(0, 0.003);
    ASSERT_EQ(garbled.size(), clean.size());
    size_t flipped = 0;
    for (size_t i = 0; i < clean.size(); ++i) flipped += garbled[i] != clean[i];
    EXPECT_GT(flipped, 0u);
    EXPECT_LT(flipped, clean.size() / 100) << "flipped bits only";
    ASSERT_GT(extra.size(), clean.size());
    size_t matched = 0;
    for (uint8_t b : extra)
        if (matched < clean.size() && b == clean[matched]) ++matched;
    EXPECT_EQ(matched, clean.size()) << "the clean bytes, in order, between the inserted ones";
}

}  // namespace
