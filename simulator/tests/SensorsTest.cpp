// The simulated meters against the program's decoding of their bytes.
#include <gtest/gtest.h>

#include <cmath>

#include "DeviceTypes.h"
#include "Sensors.h"

namespace {

TEST(Sensors, MetersReadBackThroughTheProgramsDecoding) {
    for (double lambda : {0.8, 0.87, 0.95, 1.0, 1.1, 1.2})  // the WB2 spans A/F 10 to 18
        EXPECT_NEAR(wb2Value(wb2AfrByte(lambda)), 1470 * lambda, 4) << "WB2 at lambda " << lambda;
    EXPECT_EQ(wb2Value(wb2AfrByte(1.6)), 1796) << "lean beyond the WB2's range";
    for (double lambda : {0.8, 0.87, 0.95, 1.0, 1.1, 1.3, 1.6}) {
        EXPECT_NEAR(uecoValue(uecoByte(lambda)), 100 * lambda, 3) << "UECO at lambda " << lambda;
        EXPECT_NEAR(mtoValue(mtoByte(lambda)), 100 * lambda, 2) << "MTO at lambda " << lambda;
    }
    // the narrow-band probe only tells rich from lean
    EXPECT_GT(narrowBandValue(narrowBandByte(0.87)), 100);
    EXPECT_LT(narrowBandValue(narrowBandByte(1.3)), 100);
    EXPECT_EQ(wb2TemperatureByte(680), 40);
}

TEST(Sensors, WeatherBytesInvertTheCalibration) {
    SensorParameters p;
    p.temperature = 22;
    p.pressure = 990;
    p.humidity = 45;
    Sensors sensors(p);
    std::mt19937_64 random(1);
    uint8_t raw[3];
    sensors.weatherBytes(raw, random);
    const WeatherCalibration& c = p.calibration;
    EXPECT_DOUBLE_EQ((raw[0] - c.temperatureOffset) * c.temperatureGain, 22);
    EXPECT_DOUBLE_EQ((raw[1] - c.pressureOffset) * c.pressureGain, 990);
    EXPECT_DOUBLE_EQ((raw[2] - c.humidityOffset) * c.humidityGain, 45);
}

TEST(Sensors, WiringPerChannelMode) {
    struct Case {
        SensorKind kind;
        uint8_t mode;
        bool b1Set, b2Set;
    };
    const Case cases[] = {
        {SensorKind::Wb2, 1, false, false}, {SensorKind::Wb2, 2, true, true},
        {SensorKind::Ueco, 1, true, false}, {SensorKind::Ueco, 2, false, false},
        {SensorKind::Mto, 1, true, true},   {SensorKind::NarrowBand, 1, true, true},
        {SensorKind::None, 1, false, false},
    };
    VehicleParameters vp;
    vp.steadyRpm = 3000;
    Vehicle vehicle(vp);
    for (int i = 0; i < 100; ++i) vehicle.step(1e-3);
    for (const Case& k : cases) {
        SensorParameters p;
        p.kind = k.kind;
        Sensors sensors(p);
        sensors.update(vehicle, 0.1);
        std::mt19937_64 random(1);
        uint8_t b1 = 99, b2 = 99;
        sensors.analogueBytes(k.mode, b1, b2, random);
        EXPECT_EQ(b1 != 0, k.b1Set) << sensorKindName(k.kind) << " mode " << int(k.mode);
        EXPECT_EQ(b2 != 0, k.b2Set) << sensorKindName(k.kind) << " mode " << int(k.mode);
    }
}

}  // namespace
