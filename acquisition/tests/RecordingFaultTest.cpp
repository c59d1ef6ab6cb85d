// A run recorded through a faulty line: the inertia band and the spike test
// at walking pace and at top speed, with a hard pull that must pass, and
// runs fed through the real decoder with lost, flipped and inserted bytes
// that must keep their time base and every stamp above the one before.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "MeasurementRun.h"
#include "ProtocolTestSupport.h"

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kInertia = 7.05, kWheel = 1.25;

// Periods (ticks) of `count` revolutions from `kmh` at a constant angular
// acceleration `alpha` (rad/s^2): w^2 = w0^2 + 2 alpha theta.
std::vector<int32_t> revolutions(double kmh, double alpha, int count) {
    const double w0 = 2 * kPi * (kmh / 3.6) / kWheel;
    auto speedAt = [&](int k) { return std::sqrt(std::max(0.0, w0 * w0 + 2 * alpha * 2 * kPi * k)); };
    std::vector<int32_t> periods;
    for (int k = 0; k < count; ++k)
        periods.push_back(static_cast<int32_t>(std::lround((speedAt(k + 1) - speedAt(k)) / alpha * 2000000)));
    return periods;
}

// 2000 Nm at the roller: far more than the simulated car, half what the band allows
constexpr double kHardPull = 2000 / kInertia;

TEST(PeriodBand, PassesAHardPullAndBrakingAndRejectsJumps) {
    const PeriodBand band(kInertia, kWheel);
    struct Case {
        double kmh;
        int32_t jump;  // ticks added to one period that must fail the band (0: none does at this speed)
    };
    // at walking pace such a pull changes the period by half in a revolution
    const Case cases[] = {{10, 0}, {60, 0}, {150, 32768}, {250, 8192}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kmh) + " km/h");
        const double w0 = 2 * kPi * (c.kmh / 3.6) / kWheel;
        // braking as long as the roller keeps half its speed
        const int braking = static_cast<int>(0.75 * w0 * w0 / (4 * kPi * kHardPull)) + 1;
        for (double alpha : {kHardPull, -kHardPull}) {
            const std::vector<int32_t> p = revolutions(c.kmh, alpha, alpha > 0 ? 40 : braking);
            for (size_t i = 1; i < p.size(); ++i)
                EXPECT_TRUE(band.plausible(p[i - 1], p[i])) << "alpha " << alpha << ", revolution " << i;
        }
        const int32_t period = revolutions(c.kmh, 0.001, 1)[0];
        if (c.jump) {
            EXPECT_FALSE(band.plausible(period, period + c.jump));
            EXPECT_FALSE(band.plausible(period, period - c.jump));
        }
        EXPECT_FALSE(band.plausible(period, 0));
        EXPECT_FALSE(band.plausible(period, -period));
    }
    EXPECT_FALSE(band.plausible(30000, 1000)) << "faster than any vehicle";
}

TEST(RevolutionFilter, KeepsAHardPullAndReplacesASpike) {
    const PeriodBand band(kInertia, kWheel);
    struct Case {
        double kmh;
        double alpha;
        int32_t spike;  // ticks, at revolution 20
    };
    // a flipped bit: 16 ms at walking pace, bit 7 of the low byte at top speed;
    // from walking pace a strong car's first gear (500 Nm at the roller)
    const Case cases[] = {{10, 500 / kInertia, 32768}, {10, 500 / kInertia, -32768}, {60, kHardPull, 4096},
                          {250, kHardPull, 128}, {250, kHardPull, -256}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kmh) + " km/h, spike " + std::to_string(c.spike));
        const std::vector<int32_t> clean = revolutions(c.kmh, c.alpha, 40);
        std::vector<Revolution> run(clean.size());
        for (size_t i = 0; i < clean.size(); ++i) run[i].period = clean[i];
        RevolutionFilter filter(band);
        auto out = filter.clean(run.data(), 40, 16000);
        EXPECT_EQ(filter.rejected(), 0) << "the pull itself";
        run[20].period += c.spike;
        out = filter.clean(run.data(), 40, 16000);
        EXPECT_EQ(filter.rejected(), 1);
        ASSERT_EQ(out.size(), 40u);
        EXPECT_NEAR(out[20].period, clean[20], clean[20] * 0.001);
    }
}

TEST(RevolutionFilter, ABendWithinARevolutionIsNoSpike) {
    const PeriodBand band(kInertia, kWheel);
    // the roller braked down to its slowest period and, later, pulled away
    // from it: the revolution in which the torque changed lies between its
    // neighbours, off the lines through either side
    const std::vector<std::vector<int32_t>> courses = {
        {198000, 226261, 250120, 283444, 334872, 395690, 400011, 400009, 400008, 400007, 400006},
        {400002, 400001, 400000, 400001, 400000, 394440, 374883, 357149, 341632, 327907, 315580},
    };
    for (const std::vector<int32_t>& course : courses) {
        std::vector<Revolution> run(course.size());
        for (size_t i = 0; i < course.size(); ++i) run[i].period = course[i];
        RevolutionFilter filter(band);
        const auto out = filter.clean(run.data(), static_cast<int32_t>(run.size()), 16000);
        EXPECT_EQ(filter.rejected(), 0);
        ASSERT_EQ(out.size(), course.size());
        for (size_t i = 0; i < course.size(); ++i) EXPECT_EQ(out[i].period, course[i]) << i;
    }
}

// A pull from 40 km/h to about 150 km/h in ten seconds, engine frames in
// between at a gear ratio of 3, a status frame every fifth revolution.
Bytes pullStream() {
    const std::vector<int32_t> periods = revolutions(40, 15, 260);
    Bytes stream;
    for (size_t i = 0; i < periods.size(); ++i) {
        stream = concat({stream, encodeFrame(FrameType::RollerPeriod, periods[i])});
        for (int e = 0; e < 3; ++e)
            stream = concat({stream, encodeFrame(FrameType::EnginePeriod, periods[i] * 4 / 3)});
        if (i % 5 == 0) stream = concat({stream, statusFrame(0, 3, 15)});
    }
    return stream;
}

struct Recorded {
    std::vector<int32_t> times;
    int32_t rejected = 0, restored = 0;
};

Recorded record(const Bytes& stream) {
    Settings settings;
    settings.recordStartMode = 1;
    settings.recordStartVal = 0;
    settings.recordPeriod = 10;
    LiveValues live;
    double estimate = 0;
    MeasurementRun run(live, settings, estimate);
    FrameDecoder decoder(live, settings);
    decoder.setRun(&run, &run);
    run.allocate();
    run.startWaiting();
    for (uint8_t b : encodeFrame(FrameType::RollerPeriod, 200000)) decoder.feedByte(b);
    for (uint8_t b : stream) decoder.feedByte(b);
    EXPECT_EQ(run.takeEnding(), MeasurementRun::Ending::Complete);
    return {std::vector<int32_t>(run.times().begin(), run.times().begin() + run.sampleCount()), run.rejectedFrames(),
            run.restoredRevolutions()};
}

TEST(RecordingFaults, LostFlippedAndInsertedBytesKeepTheTimeBase) {
    const Bytes stream = pullStream();
    const Recorded clean = record(stream);
    ASSERT_GT(clean.times.size(), 150u);
    EXPECT_EQ(clean.rejected, 0);
    for (const char* kind : {"lost", "flipped", "inserted"}) {
        for (unsigned seed = 1; seed <= 5; ++seed) {
            SCOPED_TRACE(std::string(kind) + " bytes, seed " + std::to_string(seed));
            std::mt19937 random(seed);
            Bytes faulty;
            for (size_t i = 0; i < stream.size(); ++i) {
                const uint8_t b = stream[i];
                // 0.002, from the second second on: the run starts on the same revolution
                const bool hit = random() % 500 == 0 && i > 2000;
                if (hit && kind[0] == 'l') continue;
                faulty.push_back(hit && kind[0] == 'f' ? static_cast<uint8_t>(b ^ (1 << random() % 8)) : b);
                if (hit && kind[0] == 'i') faulty.push_back(static_cast<uint8_t>(random()));
            }
            const Recorded r = record(faulty);
            // a flipped low bit may pass as the jitter of an edge
            if (kind[0] != 'f') { EXPECT_GT(r.rejected, 0); }
            ASSERT_FALSE(r.times.empty());
            for (size_t i = 1; i < r.times.size(); ++i) ASSERT_GT(r.times[i], r.times[i - 1]) << "stamp " << i;
            // the revolutions are all there and in their places
            EXPECT_NEAR(double(r.times.size()), double(clean.times.size()), 1);
            const size_t n = std::min(r.times.size(), clean.times.size());
            double worst = 0;
            for (size_t i = 0; i < n; ++i) worst = std::max(worst, std::fabs(r.times[i] - clean.times[i]) / clean.times[i]);
            EXPECT_LT(worst, 0.002) << "time base off by " << worst;
        }
    }
}

}  // namespace
