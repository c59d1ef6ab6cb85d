// dynosim's command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimOptions.h"

namespace {

bool parse(std::vector<std::string> args, DynosimOptions& options, std::string& error) {
    std::vector<char*> argv{const_cast<char*>("dynosim")};
    for (std::string& a : args) argv.push_back(a.data());
    return parseDynosimOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(Options, HelpListsEveryOption) {
    const std::string help = dynosimHelp();
    const std::vector<std::string> names = dynosimOptionNames();
    EXPECT_GE(names.size(), 40u);
    for (const std::string& name : names) EXPECT_NE(help.find("  " + name + " "), std::string::npos) << name;
}

TEST(Options, ValuesReachTheParameters) {
    DynosimOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--pty", "/tmp/x", "--gear", "2.5", "--limit", "7000", "--inertia", "8", "--wheel", "1.5",
                       "--loss", "4,0.5", "--slip", "0.05", "--config", "1,3,15", "--sensor", "ueco",
                       "--weather", "20,1013,60", "--noise", "5", "--lose-bytes", "0.01", "--garble-bytes", "0.02",
                       "--extra-bytes", "0.03", "--seed", "42",
                       "--time-scale", "3", "--steady", "4000", "--torque-curve", "1000:100,5000:200",
                       "--engine-signal", "2:1", "--cycles", "2", "--quiet"},
                      o, error))
        << error;
    EXPECT_EQ(o.ptyLink, "/tmp/x");
    EXPECT_EQ(o.simulation.vehicle.gearRatio, 2.5);
    EXPECT_EQ(o.simulation.vehicle.limitRpm, 7000);
    EXPECT_EQ(o.simulation.vehicle.inertia, 8);
    EXPECT_EQ(o.simulation.vehicle.circumference, 1.5);
    EXPECT_EQ(o.simulation.vehicle.lossLinear, 4);
    EXPECT_EQ(o.simulation.vehicle.lossQuadratic, 0.5);
    EXPECT_EQ(o.simulation.vehicle.slip, 0.05);
    EXPECT_EQ(o.simulation.vehicle.steadyRpm, 4000);
    EXPECT_EQ(o.simulation.vehicle.engine.torque(3000), 150);
    EXPECT_EQ(o.simulation.controller.mode, 1);
    EXPECT_EQ(o.simulation.controller.ratioCode, 3);
    EXPECT_EQ(o.simulation.controller.pulseIndex, 15);
    EXPECT_EQ(o.simulation.controller.engineSignal, 2);
    EXPECT_EQ(o.simulation.controller.jitterMicroseconds, 5);
    EXPECT_EQ(o.simulation.sensors.kind, SensorKind::Ueco);
    EXPECT_TRUE(o.simulation.sensors.noise);
    EXPECT_EQ(o.simulation.sensors.pressure, 1013);
    EXPECT_EQ(o.simulation.byteLoss, 0.01);
    EXPECT_EQ(o.simulation.byteGarble, 0.02);
    EXPECT_EQ(o.simulation.byteExtra, 0.03);
    EXPECT_EQ(o.simulation.seed, 42u);
    EXPECT_EQ(o.timeScale, 3);
    EXPECT_EQ(o.cycles, 2);
    EXPECT_TRUE(o.quiet);
}

TEST(Options, DefaultVehicle) {
    const DynosimOptions o;
    EXPECT_EQ(o.simulation.vehicle.gearRatio, 3.0);
    EXPECT_EQ(o.simulation.vehicle.limitRpm, 6500);
    EXPECT_EQ(o.simulation.vehicle.inertia, 7.05);
    EXPECT_EQ(o.simulation.vehicle.circumference, 1.25);
    EXPECT_EQ(o.simulation.vehicle.pullStartRpm, 1500);
    EXPECT_EQ(o.simulation.vehicle.idleSeconds, 5);
    EXPECT_EQ(o.simulation.vehicle.coastSeconds, 8);
}

TEST(Options, RefusesWhatMakesNoSense) {
    const std::vector<std::vector<std::string>> bad = {
        {},                                           // no output
        {"--pty", "a", "--port", "b"},               // two lines
        {"--pty", "a", "--write-kxm", "f"},          // a file run has no line
        {"--write-kxm"},                             // value missing
        {"--write-kxm", "f", "--gear", "0"},
        {"--write-kxm", "f", "--gear", "3x"},
        {"--write-kxm", "f", "--sensor", "lidar"},
        {"--write-kxm", "f", "--config", "0,1"},
        {"--write-kxm", "f", "--config", "0,1,16"},
        {"--write-kxm", "f", "--sensor-bytes", "1,256"},
        {"--write-kxm", "f", "--engine-signal", "3:1"},
        {"--write-kxm", "f", "--torque-curve", "2000:100,1000:90"},
        {"--write-kxm", "f", "--lose-bytes", "1.5"},
        {"--write-kxm", "f", "--device", "7"},
        {"--write-kxm", "f", "--weather-cal", "0,0,0,1,0,1"},
        {"--write-kxm", "f", "--frobnicate"},
    };
    for (const auto& args : bad) {
        DynosimOptions o;
        std::string error;
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_FALSE(parse(args, o, error)) << joined;
        EXPECT_FALSE(error.empty()) << joined;
    }
    DynosimOptions o;
    std::string error;
    EXPECT_TRUE(parse({"--help"}, o, error)) << "help needs no output";
    EXPECT_TRUE(o.help);
}

}  // namespace
