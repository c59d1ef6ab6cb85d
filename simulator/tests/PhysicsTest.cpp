// A run recorded by dynosim --write-kxm and evaluated by the
// program's own evaluation recovers the simulated vehicle: at the axle the wheel
// torque and power (engine curve minus drive-train loss), at the engine the
// engine's own curve when the loss is proportional to engine speed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "EvaluatedRun.h"
#include "MeasurementFile.h"
#include "Utf8.h"
#include "Vehicle.h"

namespace {

struct Peak {
    double powerKw = 0, rpm = 0;
};

// The model's power maximum between the pull's start and its end.
Peak modelPeak(const Vehicle& vehicle, bool engineMode) {
    Peak peak;
    const VehicleParameters& p = vehicle.parameters();
    for (double rpm = p.pullStartRpm; rpm <= p.limitRpm; rpm += 1) {
        const double kw = engineMode ? vehicle.enginePowerKw(rpm) : vehicle.wheelPowerKw(rpm);
        if (kw > peak.powerKw) peak = {kw, rpm};
    }
    return peak;
}

Peak measuredPeak(const std::vector<EvaluatedRun::Point>& points) {
    Peak peak;
    for (const auto& point : points)
        if (point.powerKw > peak.powerKw) peak = {point.powerKw, point.rpm};
    return peak;
}

Measurement recordRun(const std::string& extraOptions) {
    char dir[] = "/tmp/kx-physics-XXXXXX";
    EXPECT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/run.kxm";
    const std::string command = std::string(KX_DYNOSIM) + " --quiet --write-kxm " + file + " " + extraOptions;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    Measurement m;
    EXPECT_TRUE(readMeasurement(fromUtf8(file), m)) << file;
    std::remove(file.c_str());
    rmdir(dir);
    return m;
}

struct Scenario {
    const char* options;
    VehicleParameters vehicle;
};

void checkRun(const Scenario& scenario) {
    SCOPED_TRACE(std::string("dynosim ") + scenario.options);
    Measurement m = recordRun(scenario.options);
    ASSERT_GT(m.sampleCount, 100);
    const Vehicle vehicle(scenario.vehicle);
    EXPECT_NEAR(m.gearRatio, scenario.vehicle.gearRatio, 0.01 * scenario.vehicle.gearRatio) << "estimated gear ratio";
    EXPECT_DOUBLE_EQ(m.inertia, scenario.vehicle.inertia);
    EXPECT_DOUBLE_EQ(m.circumference, scenario.vehicle.circumference);

    EvaluatedRun evaluation(m);
    evaluation.findLoss(3.0);
    ASSERT_GT(evaluation.lossRpm(), 1) << "no loss point on the coast-down";
    EXPECT_NEAR(evaluation.rpm(evaluation.maxRpmIndex()), scenario.vehicle.limitRpm, 0.02 * scenario.vehicle.limitRpm);

    for (bool engineMode : {false, true}) {
        SCOPED_TRACE(engineMode ? "engine mode" : "axle mode");
        const auto points = evaluation.pull(engineMode);
        const Peak want = modelPeak(vehicle, engineMode);
        const Peak got = measuredPeak(points);
        EXPECT_NEAR(got.powerKw, want.powerKw, 0.01 * want.powerKw) << "peak power";
        EXPECT_NEAR(got.rpm, want.rpm, 0.02 * want.rpm) << "engine speed at peak power";
        // the torque curve along the pull, away from its ends
        int compared = 0;
        for (const auto& point : points) {
            if (point.rpm < 2500 || point.rpm > scenario.vehicle.limitRpm - 300) continue;
            const double model = engineMode ? scenario.vehicle.engine.torque(point.rpm) : vehicle.wheelTorque(point.rpm);
            EXPECT_NEAR(point.torque, model, 0.02 * model) << "torque at " << point.rpm << " U/min";
            ++compared;
        }
        EXPECT_GT(compared, 10);
    }
}

TEST(Physics, DefaultVehicleRecoversWheelAndEngineCurve) {
    checkRun({"", VehicleParameters()});
}

TEST(Physics, OtherVehicleRecoversItsCurves) {
    VehicleParameters v;
    v.gearRatio = 2.2;
    v.inertia = 9.5;
    v.circumference = 1.5;
    v.limitRpm = 6000;
    v.lossLinear = 5;
    v.engine.setPoints({{1000, 180}, {2000, 240}, {3000, 260}, {4000, 250}, {5000, 220}, {6000, 180}});
    checkRun({"--gear 2.2 --inertia 9.5 --wheel 1.5 --limit 6000 --loss 5 "
              "--torque-curve 1000:180,2000:240,3000:260,4000:250,5000:220,6000:180 --seed 9",
              v});
}

}  // namespace

namespace {

TEST(RecordedRun, LambdaChannelWithALambdaDevice) {
    const Measurement m = recordRun("--device 5 --sensor wb2");
    ASSERT_TRUE(m.hasLambda());
    ASSERT_EQ(m.lambdaValues->size(), m.times.size());
    // rich at full load (lambda 0.87, A/F 12.8), lean on the coast-down
    const auto [low, high] = std::minmax_element(m.lambdaValues->begin(), m.lambdaValues->end());
    EXPECT_NEAR(*low, 1279, 15);
    EXPECT_EQ(*high, 1796) << "the WB2 reads its end of range with the fuel cut";
}

TEST(RecordedRun, WheelSlipShowsInTheGearRatio) {
    // the engine turns faster than the roller while it pulls
    const Measurement m = recordRun("--slip 0.08");
    EXPECT_GT(m.gearRatio, 3.0 * 1.03);
    EXPECT_LT(m.gearRatio, 3.0 * 1.08);
}

TEST(RecordedRun, StartsAtTheStartConditionAndLastsThePeriod) {
    const Measurement m = recordRun("--period 5 --start-value 3000");
    ASSERT_GT(m.sampleCount, 10);
    // the first time stamp is the first roller period after the smoothed
    // engine speed has reached 3000 U/min; the smoothing lags a little
    const double firstRpm = 2000000.0 / m.times[0] * 3 * 60;
    EXPECT_GE(firstRpm, 3000);
    EXPECT_LT(firstRpm, 3500);
    // the sample that passes 5 s is recorded, the next frame ends the run
    EXPECT_GT(m.times.back(), 10000000);
    EXPECT_LE(m.times[m.times.size() - 2], 10000000);
}

}  // namespace
