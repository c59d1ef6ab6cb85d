// The evaluation of power and torque: the cursor's walk over a measurement,
// the value functions of the quantity table, and the maxima and loss point.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "EvaluationCursor.h"
#include "MeasurementFile.h"
#include "Settings.h"
#include "StringTable.h"
#include "Utf8.h"

namespace {

constexpr double kPi = 3.141592653589793;

Measurement run(std::vector<int32_t> times, double gearRatio = 1.0) {
    Measurement m;
    m.times = std::move(times);
    m.sampleCount = uint16_t(m.times.size());
    m.gearRatio = gearRatio;
    m.inertia = 7.05;
    m.circumference = 1.25;
    m.temperature = 20;
    m.pressure = 1013;
    m.humidity = 50;
    return m;
}

// Revolutions of a constant length, the first one ending at 'period'.
std::vector<int32_t> evenly(int count, int32_t period) {
    std::vector<int32_t> t;
    for (int k = 1; k <= count; ++k) t.push_back(k * period);
    return t;
}

// Four revolutions of 50 ms, then four of 40 ms.
Measurement workedExample() {
    return run({0, 100000, 200000, 300000, 400000, 480000, 560000, 640000, 720000});
}

EvaluationOptions axleUncorrected() {
    EvaluationOptions o;
    o.powerMode = kPowerAtAxle;
    o.correction = 0;
    o.lossTime = 3.0;
    return o;
}

std::vector<int> walk(EvaluationCursor& cursor, Measurement& m) {
    cursor.rewind(m);
    std::vector<int> points{cursor.index()};
    while (cursor.advance()) points.push_back(cursor.index());
    return points;
}

std::string describe(const std::vector<int>& v) {
    std::string s;
    for (int x : v) s += std::to_string(x) + " ";
    return s;
}

}  // namespace

TEST(Evaluation, WorkedExampleOfNineSamples) {
    Settings calibration;  // MCorr = PCorr = 1
    const EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);
    Measurement m = workedExample();

    cursor.rewind(m);
    EXPECT_EQ(cursor.halfWidth(), 2);
    ASSERT_EQ(cursor.index(), 4);
    const struct { int q; int32_t value; } expected[] = {
        {kQuantitySpeed, 1000}, {kQuantityEngineSpeed, 1333}, {kQuantityTorque, 12304}, {kQuantityPowerKw, 1718},
        {kQuantityPowerPs, 2337}, {kQuantityTime, 20}, {kQuantityDistance, 50}, {kQuantityLambda, 0},
        {kQuantityPowerTorqueKw, 0}, {kQuantityPowerTorquePs, 0},
    };
    for (const auto& e : expected) EXPECT_EQ(cursor.quantityValue(e.q, 4), e.value) << "quantity " << e.q;

    // ω₊ = 2π·25, ω₋ = 2π·20, Δτ = 0.18 s
    EXPECT_NEAR(cursor.wheelTorque(4), 7.05 * 2 * kPi * 5 / 0.18, 1e-9);
    EXPECT_NEAR(cursor.scaledValue(kQuantityPowerKw, 4), 1230.4571 * 2 * kPi * (8e6 / 360000) / 1000 * 10, 0.01);

    EXPECT_FALSE(cursor.advance()) << "6 is not below 9 - 4";
    EXPECT_EQ(cursor.index(), 6);

    cursor.evaluate(m);
    EXPECT_EQ(m.maxRpmIndex, 4);
    EXPECT_EQ(m.maxPowerIndex, 4);
    EXPECT_EQ(m.maxTorqueIndex, 4);
    EXPECT_EQ(m.lossIndex, 0);
    EXPECT_EQ(m.lossTorque, 0.0);
    EXPECT_EQ(m.lossRpm, 1.0);
    EXPECT_EQ(m.correctionFactor, 1.0);
}

TEST(Evaluation, CursorStepsByTheHalfWidthFoundAtEachPoint) {
    // samples 0..9 every 25 ms, then every 2.5 ms: at sample 9 the half window
    // is 30 revolutions, so openWindow moves the point up to 60
    std::vector<int32_t> jump;
    for (int k = 0; k < 200; ++k) jump.push_back(k <= 9 ? k * 50000 : 450000 + (k - 9) * 5000);
    const struct {
        const char* name;
        std::vector<int32_t> times;
        std::vector<int> points;
    } cases[] = {
        {"worked example", workedExample().times, {4}},
        {"constant 25 ms", evenly(30, 50000), {6, 9, 12, 15, 18, 21}},
        {"constant 75 ms: one revolution per half window", evenly(8, 150000), {2, 3, 4, 5}},
        {"speed-up after sample 9", jump, {6, 60, 90, 120}},
    };
    Settings calibration;
    const EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);
    for (const auto& c : cases) {
        Measurement m = run(c.times);
        EXPECT_EQ(describe(walk(cursor, m)), describe(c.points)) << c.name;
    }
}

TEST(Evaluation, SmoothingDoublesTheShortestHalfWindowPerStep) {
    // revolutions of 25 ms: 75 ms are 3 of them, 150 ms 6 and 300 ms 12
    const struct {
        uint16_t smoothing;
        int halfWidth;
        std::vector<int> points;
    } cases[] = {
        {0, 3, {6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39}},
        {1, 6, {12, 18, 24, 30}},
        {2, 12, {24}},
        {9, 12, {24}},  // beyond the list: as much as the list goes
    };
    Settings calibration;
    for (const auto& c : cases) {
        EvaluationOptions options = axleUncorrected();
        options.smoothing = c.smoothing;
        EvaluationCursor cursor(options, calibration);
        Measurement m = run(evenly(48, 50000));
        EXPECT_EQ(describe(walk(cursor, m)), describe(c.points)) << "smoothing " << c.smoothing;
        EXPECT_TRUE(cursor.openWindow(30));
        EXPECT_EQ(cursor.halfWidth(), c.halfWidth) << "smoothing " << c.smoothing;
    }
}

TEST(Evaluation, SmoothingLeavesASteadyPullsValuesAndOnlyWidensTheWindow) {
    // constant acceleration: the torque is the same over any window, so a
    // wider one gives the same maxima (within the rounding of the times)
    std::vector<int32_t> times;
    double t = 0, period = 60000;  // 30 ms, shrinking
    for (int k = 0; k < 400; ++k) {
        times.push_back(int32_t(std::lround(t)));
        t += period;
        period *= 0.997;
    }
    Settings calibration;
    double torque[3] = {};
    for (uint16_t k = 0; k <= 2; ++k) {
        EvaluationOptions options = axleUncorrected();
        options.smoothing = k;
        EvaluationCursor cursor(options, calibration);
        Measurement m = run(times);
        cursor.evaluate(m);
        cursor.openWindow(200);
        torque[k] = cursor.torqueValue(cursor.index());
        EXPECT_GT(torque[k], 0) << "smoothing " << k;
    }
    EXPECT_NEAR(torque[1], torque[0], torque[0] * 0.02);
    EXPECT_NEAR(torque[2], torque[0], torque[0] * 0.05);
}

TEST(Evaluation, OpenWindowAtTheEdges) {
    Settings calibration;
    const EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);
    Measurement m = run(evenly(30, 50000));
    cursor.rewind(m);

    EXPECT_TRUE(cursor.openWindow(1));  // 1 < 2·3: the point moves to 6
    EXPECT_EQ(cursor.index(), 6);
    EXPECT_EQ(cursor.halfWidth(), 3);

    EXPECT_TRUE(cursor.openWindow(26));  // 27, 28, 29 are enough
    EXPECT_EQ(cursor.index(), 26);

    Measurement slow = run(evenly(30, 100000));  // two revolutions per half window
    cursor.rewind(slow);
    EXPECT_EQ(cursor.halfWidth(), 2);
    EXPECT_FALSE(cursor.openWindow(28)) << "no sample 150000 ticks after 28";
    EXPECT_EQ(cursor.index(), 28);
    EXPECT_EQ(cursor.halfWidth(), 2) << "the half-width stays";

    EXPECT_FALSE(cursor.openWindow(30));
    EXPECT_EQ(cursor.index(), 30);
    EXPECT_FALSE(cursor.openWindow(5000));
    EXPECT_EQ(cursor.index(), 5000);
}

TEST(Evaluation, ConstantSpeedHasNoTorqueAtTheAxleAndTheLossAtTheEngine) {
    Settings calibration;
    EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);
    Measurement m = run(evenly(400, 80000), 3.5);  // 16 s at 25 revolutions per second

    cursor.evaluate(m);
    // every point ties: the first one is kept
    EXPECT_EQ(m.maxRpmIndex, 4);
    EXPECT_EQ(m.maxPowerIndex, 4);
    EXPECT_EQ(m.maxTorqueIndex, 4);
    EXPECT_GT(m.lossIndex, m.maxRpmIndex);
    EXPECT_EQ(m.lossTorque, 0.0);
    EXPECT_NEAR(m.lossRpm, 25 * 3.5 * 60, 1e-9);

    int points = 0;
    cursor.rewind(m);
    do {
        ++points;
        ASSERT_EQ(cursor.quantityValue(kQuantityTorque, cursor.index()), 0) << "at " << cursor.index();
        ASSERT_EQ(cursor.quantityValue(kQuantityPowerKw, cursor.index()), 0) << "at " << cursor.index();
        ASSERT_EQ(cursor.quantityValue(kQuantitySpeed, cursor.index()), 1125) << "at " << cursor.index();
        ASSERT_EQ(cursor.quantityValue(kQuantityEngineSpeed, cursor.index()), 5250) << "at " << cursor.index();
    } while (cursor.advance());
    EXPECT_EQ(points, 196);  // 4, 6, ... 394

    // at the engine the loss comes back in proportion to engine speed
    options.powerMode = kPowerAtEngine;
    m.lossTorque = -20.0;
    m.lossRpm = 3000.0;
    m.correctionFactor = 1.05;
    const double rpm = 5250.0;
    const double torque = 20.0 * rpm / 3000.0 * 1.05;  // -lossTorque · N / lossRpm · factor
    cursor.rewind(m);
    do {
        const uint16_t i = cursor.index();
        ASSERT_NEAR(cursor.scaledValue(kQuantityTorque, i), torque * 10, 1e-9) << "at " << i;
        ASSERT_NEAR(cursor.scaledValue(kQuantityPowerKw, i), torque * 2 * kPi * rpm / 60 / 100, 1e-9) << "at " << i;
    } while (cursor.advance());
}

TEST(Evaluation, GearRatioZeroIsReadAsOne) {
    Settings calibration;
    const EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);
    Measurement m = run(evenly(30, 50000), 0.0);
    cursor.rewind(m);
    EXPECT_EQ(m.gearRatio, 1.0);
    EXPECT_EQ(cursor.quantityValue(kQuantityEngineSpeed, cursor.index()), 2400);  // 40 rev/s

    Measurement tooShort = run({1000}, 0.0);  // no evaluation point, still set
    cursor.evaluate(tooShort);
    EXPECT_EQ(tooShort.gearRatio, 1.0);
}

TEST(Evaluation, CoastDownShorterThanLossTimeLeavesNoLossPoint) {
    Settings calibration;
    EvaluationOptions options = axleUncorrected();
    options.powerMode = kPowerAtEngine;
    EvaluationCursor cursor(options, calibration);
    // run-up over 60 revolutions, then less than half a second of coasting
    std::vector<int32_t> t;
    int32_t now = 0;
    for (int k = 0; k < 60; ++k) t.push_back(now += 100000 - 1000 * k);
    for (int k = 0; k < 20; ++k) t.push_back(now += 41000 + 500 * k);
    Measurement m = run(t, 3.0);
    m.lossTorque = 99;  // stale values from an earlier evaluation
    m.lossRpm = 99;

    for (double lossTime : {3.0, 1.5}) {
        options.lossTime = lossTime;
        cursor.evaluate(m);
        EXPECT_EQ(m.lossIndex, 0) << lossTime;
        EXPECT_EQ(m.lossTorque, 0.0) << lossTime;
        EXPECT_EQ(m.lossRpm, 1.0) << lossTime;
        EXPECT_LT(m.lossIndex, m.maxRpmIndex) << "the window warns exactly then";
    }
    options.lossTime = 0.2;
    cursor.evaluate(m);
    EXPECT_GT(m.lossIndex, m.maxRpmIndex);
    EXPECT_LT(m.lossTorque, 0.0) << "the roller slows down";

    // without a loss point engine mode equals axle mode
    options.lossTime = 3.0;
    cursor.evaluate(m);
    std::vector<int32_t> atEngine;
    cursor.rewind(m);
    while (cursor.advance()) atEngine.push_back(cursor.quantityValue(kQuantityTorque, cursor.index()));
    options.powerMode = kPowerAtAxle;
    std::vector<int32_t> atAxle;
    cursor.rewind(m);
    while (cursor.advance()) atAxle.push_back(cursor.quantityValue(kQuantityTorque, cursor.index()));
    EXPECT_EQ(atEngine, atAxle);
}

TEST(Evaluation, TenKilowattsRead100And136) {
    Settings calibration;
    const EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);
    Measurement m = workedExample();
    cursor.rewind(m);
    const double kw = cursor.scaledValue(kQuantityPowerKw, 4) / 10;
    calibration.hardwarePCorr = 10.0000001 / kw;
    EXPECT_EQ(cursor.quantityValue(kQuantityPowerKw, 4), 100);
    EXPECT_EQ(cursor.quantityValue(kQuantityPowerPs, 4), 136) << "13.605442 PS, not 13.596";
    EXPECT_NEAR(cursor.scaledValue(kQuantityPowerPs, 4), 136.05442, 1e-5);
}

TEST(Evaluation, CalibrationScalesTorqueAndPowerApart) {
    Settings calibration;
    const EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);
    Measurement m = workedExample();
    cursor.rewind(m);
    const double torque = cursor.scaledValue(kQuantityTorque, 4);
    const double power = cursor.scaledValue(kQuantityPowerKw, 4);

    calibration.hardwareMCorr = 2.0;  // the settings are read on every value
    EXPECT_DOUBLE_EQ(cursor.scaledValue(kQuantityTorque, 4), 2 * torque);
    EXPECT_DOUBLE_EQ(cursor.scaledValue(kQuantityPowerKw, 4), power) << "torque calibration does not enter power";
    calibration.hardwarePCorr = 0.5;
    EXPECT_DOUBLE_EQ(cursor.scaledValue(kQuantityTorque, 4), 2 * torque);
    EXPECT_DOUBLE_EQ(cursor.scaledValue(kQuantityPowerKw, 4), power / 2);
}

TEST(Evaluation, RecordedRunFindsMaximaAndLossPoint) {
    // runup.kxm: full throttle from 1500 to 6500 U/min, eight seconds of
    // coasting. The expected points come from an independent implementation
    // of the same walk: the power and torque maxima lie off the ordinary walk
    // (66 and 36 at the axle), because the maxima search steps on with the
    // half-width left behind at the torque maximum.
    Measurement m;
    ASSERT_TRUE(readMeasurement(fromUtf8(KX_DATA_DIR "/runup.kxm"), m, MeasurementReadContext()));
    ASSERT_EQ(m.sampleCount, 343);
    const struct {
        uint16_t mode, correction;
        int maxPower, maxTorque;
        int32_t kw, ps, powerRpm, nm, torqueRpm;
        double factor;
    } cases[] = {
        {kPowerAtEngine, 0, 96, 42, 654, 890, 6341, 1167, 4435, 1.0},
        {kPowerAtEngine, 1, 96, 42, 662, 901, 6341, 1181, 4435, 1.012701792894354},
        {kPowerAtEngine, 2, 96, 42, 648, 882, 6341, 1156, 4435, 0.9910235528039102},
        {kPowerAtAxle, 0, 66, 36, 505, 688, 5439, 1001, 4129, 1.0},
        {kPowerAtAxle, 1, 66, 36, 512, 696, 5439, 1013, 4129, 1.012701792894354},
        {kPowerAtAxle, 2, 66, 36, 501, 681, 5439, 992, 4129, 0.9910235528039102},
    };
    Settings calibration;
    EvaluationOptions options;
    EvaluationCursor cursor(options, calibration);
    for (const auto& c : cases) {
        const std::string name = "mode " + std::to_string(c.mode) + ", correction " + std::to_string(c.correction);
        options.powerMode = c.mode;
        options.correction = c.correction;
        options.lossTime = 3.0;
        cursor.evaluate(m);
        EXPECT_EQ(m.maxRpmIndex, 103) << name;
        EXPECT_EQ(m.lossIndex, 205) << name;
        EXPECT_NEAR(m.lossTorque, -22.232225332316805, 1e-9) << name;
        EXPECT_NEAR(m.lossRpm, 5640.599783777008, 1e-9) << name;
        EXPECT_NEAR(m.correctionFactor, c.factor, 1e-15) << name;
        EXPECT_EQ(m.maxPowerIndex, c.maxPower) << name;
        EXPECT_EQ(m.maxTorqueIndex, c.maxTorque) << name;

        ASSERT_TRUE(cursor.openWindow(m.maxPowerIndex));
        EXPECT_EQ(cursor.quantityValue(kQuantityPowerKw, cursor.index()), c.kw) << name;
        EXPECT_EQ(cursor.quantityValue(kQuantityPowerPs, cursor.index()), c.ps) << name;
        EXPECT_EQ(cursor.quantityValue(kQuantityEngineSpeed, cursor.index()), c.powerRpm) << name;
        ASSERT_TRUE(cursor.openWindow(m.maxTorqueIndex));
        EXPECT_EQ(cursor.quantityValue(kQuantityTorque, cursor.index()), c.nm) << name;
        EXPECT_EQ(cursor.quantityValue(kQuantityEngineSpeed, cursor.index()), c.torqueRpm) << name;
    }
    // the engine-speed maximum is where the revolutions were shortest
    EXPECT_EQ(walk(cursor, m).size(), 130u);
}

TEST(Evaluation, WindowsReachingOutsideTheMeasurementReadZero) {
    Settings calibration;
    EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);

    // five samples: the only point 4 needs samples up to 8
    Measurement five = run(evenly(5, 100000));
    cursor.rewind(five);
    ASSERT_EQ(cursor.index(), 4);
    for (int q : {kQuantitySpeed, kQuantityTorque, kQuantityPowerPs, kQuantityPowerKw, kQuantityEngineSpeed})
        EXPECT_EQ(cursor.quantityValue(q, 4), 0) << "quantity " << q;
    EXPECT_EQ(cursor.quantityValue(kQuantityTime, 4), 25);
    EXPECT_EQ(cursor.quantityValue(kQuantityDistance, 4), 50);
    for (int q = 0; q < kQuantityCount; ++q) {
        EXPECT_EQ(cursor.quantityValue(q, 5), q == kQuantityDistance ? 62 : 0) << "past the end, quantity " << q;
        EXPECT_EQ(cursor.quantityValue(q, 65535), q == kQuantityDistance ? 30000 : 0) << "quantity " << q;
    }
    EXPECT_EQ(cursor.quantityValue(-1, 4), 0);
    EXPECT_EQ(cursor.quantityValue(10, 4), 0);

    // fast, slow, then much faster: at point 26 the half-width is 13, and the
    // engine speed at the first point 10, taken with it, would reach before
    // sample 0; it reads 0 and gives way
    std::vector<int32_t> uneven;
    int32_t now = 0;
    for (int k = 0; k < 170; ++k) uneven.push_back(now += k < 12 ? 30000 : k < 22 ? 100000 : 12000);
    Measurement jumpy = run(uneven);
    EXPECT_EQ(describe(walk(cursor, jumpy)), "10 15 17 19 26 39 52 65 78 91 104 117 130 143 ");
    cursor.evaluate(jumpy);
    EXPECT_EQ(jumpy.maxRpmIndex, 39);
    EXPECT_EQ(jumpy.maxPowerIndex, 45);
    EXPECT_EQ(jumpy.maxTorqueIndex, 32);

    // records built by hand: shorter arrays than declared, nothing at all,
    // a lambda array too short
    for (int n : {0, 1, 2, 3, 7}) {
        Measurement m = run(evenly(n, 100000));
        m.sampleCount = uint16_t(n + 40);
        m.lambdaValues = std::vector<int32_t>(n / 2, 1470);
        cursor.evaluate(m);
        cursor.rewind(m);
        for (int q = 0; q < kQuantityCount; ++q)
            for (int i = 0; i < n + 45; ++i) (void)cursor.quantityValue(q, uint16_t(i));
        EXPECT_EQ(m.lossIndex, 0) << n;
        EXPECT_FALSE(cursor.advance()) << n;
    }

    // a measurement without evaluation points after a long one: the cursor
    // keeps the old half-width, and still reads nothing outside
    Measurement longRun = run(evenly(400, 10000));
    cursor.rewind(longRun);
    Measurement shortRun = run(evenly(3, 10000));
    cursor.rewind(shortRun);
    for (int q = 0; q < kQuantityCount; ++q) (void)cursor.quantityValue(q, cursor.index());
}

TEST(Evaluation, DegenerateValuesClamp) {
    const struct { double in; int32_t out; } clamps[] = {
        {0.0, 0}, {29999.99, 29999}, {30000.0, 30000}, {30000.5, 30000}, {1e300, 30000},
        {-12.7, -12}, {-29999.9, -29999}, {-30000.5, -30000}, {-1e300, -30000},
        {std::numeric_limits<double>::infinity(), 30000}, {-std::numeric_limits<double>::infinity(), -30000},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : clamps) EXPECT_EQ(clampQuantity(c.in), c.out) << c.in;

    Settings calibration;
    EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);

    // no air pressure: the DIN factor is infinite
    options.correction = 1;
    Measurement m = workedExample();
    m.pressure = 0;
    cursor.evaluate(m);
    EXPECT_TRUE(std::isinf(m.correctionFactor));
    cursor.rewind(m);
    EXPECT_EQ(cursor.quantityValue(kQuantityTorque, 4), 30000);
    EXPECT_EQ(cursor.quantityValue(kQuantityPowerPs, 4), 30000);
    Measurement steady = run(evenly(30, 50000));
    steady.pressure = 0;
    cursor.evaluate(steady);
    cursor.rewind(steady);
    EXPECT_EQ(cursor.quantityValue(kQuantityTorque, cursor.index()), 0) << "0 × infinity reads 0";

    // no dry air left: the ISO factor is undefined
    options.correction = 2;
    Measurement humid = workedExample();
    humid.temperature = 50;
    humid.pressure = 80;
    humid.humidity = 100;
    cursor.evaluate(humid);
    EXPECT_FALSE(std::isfinite(humid.correctionFactor));
    cursor.rewind(humid);
    EXPECT_EQ(cursor.quantityValue(kQuantityTorque, 4), 0);

    // equal time stamps: zero time differences
    options.correction = 0;
    Measurement stuck = run({0, 200000, 200000, 200000, 200000, 200000, 200000, 400000, 600000, 800000, 1000000});
    cursor.evaluate(stuck);
    cursor.rewind(stuck);
    do {
        for (int q = 0; q < kQuantityCount; ++q) {
            const int32_t v = cursor.quantityValue(q, cursor.index());
            EXPECT_LE(std::abs(v), kValueLimit);
        }
    } while (cursor.advance());

    // damaged times far apart: differences beyond 32 bits
    Measurement wild = run({std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                            std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 0, 1, 2,
                            std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()});
    cursor.evaluate(wild);
    cursor.rewind(wild);
    for (int q = 0; q < kQuantityCount; ++q)
        for (int i = 0; i < 9; ++i) EXPECT_LE(std::abs(cursor.quantityValue(q, uint16_t(i))), kValueLimit);
}

TEST(Evaluation, QuantityTableRows) {
    const struct { int q; const wchar_t* name; const wchar_t* unit; int decimals; bool value; } rows[] = {
        {0, L"Geschwindigkeit", L"km/h", 1, true}, {1, L"Drehmoment", L"Nm", 1, true},
        {2, L"Leistung", L"PS", 1, true},          {3, L"Leistung", L"kW", 1, true},
        {4, L"Zeit", L"s", 2, true},               {5, L"Drehzahl", L"U/min", 0, true},
        {6, L"Wegstrecke", L"m", 1, true},         {7, L"Leistung/Drehm.", L"kW/Nm", 2, false},
        {8, L"Leistung/Drehm.", L"PS/Nm", 2, false}, {9, L"", L"", 0, true},
    };
    for (const auto& r : rows) {
        const QuantityDescriptor& d = quantityDescriptor(r.q);
        EXPECT_EQ(portableText(d.nameId), r.name) << "row " << r.q;
        EXPECT_EQ(portableText(d.unitId), r.unit) << "row " << r.q;
        EXPECT_EQ(d.decimals, r.decimals) << "row " << r.q;
        EXPECT_EQ(d.value != nullptr, r.value) << "row " << r.q;
    }

    // lambda: the reading divided by 10, truncated toward zero, unscaled
    Settings calibration;
    const EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);
    Measurement m = workedExample();
    m.lambdaValues = std::vector<int32_t>{1476, 1479, -15, 9, 0, 0, 0, 0, 0};
    cursor.rewind(m);
    EXPECT_EQ(cursor.quantityValue(kQuantityLambda, 0), 147);
    EXPECT_EQ(cursor.quantityValue(kQuantityLambda, 1), 147);
    EXPECT_EQ(cursor.quantityValue(kQuantityLambda, 2), -1);
    EXPECT_EQ(cursor.quantityValue(kQuantityLambda, 3), 0);
    m.lambdaValues.reset();
    EXPECT_EQ(cursor.quantityValue(kQuantityLambda, 0), 0) << "no lambda channel";
}

TEST(Evaluation, SlotsSelectTheDiagramsMeasurements) {
    Settings calibration;
    const EvaluationOptions options = axleUncorrected();
    EvaluationCursor cursor(options, calibration);
    Measurement first = workedExample();
    Measurement third = run(evenly(30, 50000), 0.0);
    Measurement* slots[7] = {&first, nullptr, &third};
    cursor.bindSlots(slots, 7);

    EXPECT_TRUE(cursor.rewind(2));
    EXPECT_EQ(cursor.measurement(), &third);
    EXPECT_EQ(cursor.index(), 6);
    EXPECT_FALSE(cursor.rewind(1)) << "empty slot";
    EXPECT_FALSE(cursor.rewind(7));
    EXPECT_FALSE(cursor.rewind(-1));
    EXPECT_EQ(cursor.measurement(), &third) << "a refused slot leaves the cursor alone";
    EXPECT_FALSE(cursor.evaluate(5));

    first.maxRpmIndex = 77;
    EXPECT_TRUE(cursor.evaluate(0));
    EXPECT_EQ(first.maxRpmIndex, 4);
    EXPECT_TRUE(cursor.evaluate(2));
    EXPECT_EQ(third.gearRatio, 1.0);
}

TEST(Evaluation, OptionsStartFromTheSettings) {
    Settings s;
    s.powerModeChoices = L"Motor|Achse";
    s.correctionChoices = L"unkorrigiert|DIN 70020|ISO 1585";
    s.graphPowerMode = 1;
    s.graphCorrection = 2;
    s.graphLosstime = 4.5;
    s.graphSmoothing = 1;
    const EvaluationOptions o = evaluationOptionsFromSettings(s);
    EXPECT_EQ(o.powerMode, 1);
    EXPECT_EQ(o.correction, 2);
    EXPECT_EQ(o.lossTime, 4.5);
    EXPECT_EQ(o.smoothing, 1);
    EXPECT_EQ(o.powerModeItems, &s.powerModeChoices);
    EXPECT_EQ(o.correctionItems, &s.correctionChoices);
    EXPECT_EQ(o.smoothingItems, &s.smoothingChoices);
    s.graphSmoothing = 7;  // a hand-edited INI file
    EXPECT_EQ(evaluationOptionsFromSettings(s).smoothing, kMaxSmoothing);
}
