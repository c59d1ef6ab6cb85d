// Weather frames: calibration, smoothing, the humidity limit, and the
// settings they fill.
#include <gtest/gtest.h>

#include "ProtocolTestSupport.h"

namespace {

TEST(Weather, IgnoredWithoutAutomaticWeather) {
    DecoderRig rig;
    rig.settings.weatherAuto = 0;
    rig.feed(weatherFrame(30, 200, 60), 10);
    EXPECT_EQ(rig.live.temperatureEstimate, 0.0);
    EXPECT_EQ(rig.live.pressureEstimate, 0.0);
    EXPECT_EQ(rig.live.humidityEstimate, 0.0);
    const Settings defaults;
    EXPECT_EQ(rig.settings.weatherTemperature, defaults.weatherTemperature);
    EXPECT_EQ(rig.settings.weatherPressure, defaults.weatherPressure);
    EXPECT_EQ(rig.settings.weatherHumidity, defaults.weatherHumidity);
}

TEST(Weather, CalibratedAndSmoothedIntoTheSettings) {
    DecoderRig rig;
    Settings& s = rig.settings;
    s.weatherTemper1 = 10;  // offset in raw units, then gain
    s.weatherTemper2 = 0.5;
    s.weatherPressure1 = -300;
    s.weatherPressure2 = 2;
    s.weatherHumidity1 = 0;
    s.weatherHumidity2 = 1;
    const uint8_t t = 60, p = 195, h = 45;  // 25 °C, 990 mbar, 45 %
    double temperature = 0, pressure = 0, humidity = 0;
    for (int i = 0; i < 30; ++i) {
        rig.feed(weatherFrame(t, p, h - i % 2));
        if (i == 0) temperature = (t - 10) * 0.5, pressure = (p + 300) * 2, humidity = h;
        temperature = ((t - 10) * 0.5 + 3 * temperature) * 0.25;
        pressure = ((p + 300) * 2 + 3 * pressure) * 0.25;
        humidity = (h - i % 2 + 3 * humidity) * 0.25;
        ASSERT_DOUBLE_EQ(rig.live.temperatureEstimate, temperature) << "frame " << i;
        ASSERT_DOUBLE_EQ(rig.live.pressureEstimate, pressure) << "frame " << i;
        ASSERT_DOUBLE_EQ(rig.live.humidityEstimate, humidity) << "frame " << i;
        ASSERT_EQ(s.weatherTemperature, static_cast<int16_t>(temperature)) << "frame " << i;
        ASSERT_EQ(s.weatherPressure, static_cast<int16_t>(pressure)) << "frame " << i;
        ASSERT_EQ(s.weatherHumidity, static_cast<int16_t>(humidity)) << "frame " << i;
    }
    EXPECT_EQ(s.weatherTemperature, 25);
    EXPECT_EQ(s.weatherPressure, 990);
    EXPECT_EQ(s.weatherHumidity, 44);
}

TEST(Weather, TheFirstReadingIsTheEstimateAgainAfterAutoComesBackOn) {
    DecoderRig rig;
    Settings& s = rig.settings;
    s.weatherPressure1 = -200;  // raw 72 is 1020 mbar
    s.weatherPressure2 = 3.75;
    rig.feed(weatherFrame(20, 72, 40));
    EXPECT_EQ(s.weatherPressure, 1020) << "not a quarter of it";
    EXPECT_EQ(s.weatherTemperature, 20);
    EXPECT_EQ(s.weatherHumidity, 40);
    rig.feed(weatherFrame(24, 76, 40));
    EXPECT_EQ(s.weatherTemperature, 21) << "smoothed from the seed on";
    EXPECT_DOUBLE_EQ(rig.live.pressureEstimate, (276 * 3.75 + 3 * 1020.0) / 4);

    s.weatherAuto = 0;
    rig.feed(weatherFrame(0, 0, 0));
    s.weatherAuto = 1;
    rig.feed(weatherFrame(2, 64, 90));
    EXPECT_EQ(s.weatherTemperature, 2);
    EXPECT_EQ(s.weatherPressure, 990);
    EXPECT_EQ(s.weatherHumidity, 90);
}

TEST(Weather, HumidityLimitedToZeroToHundred) {
    struct Case {
        double offset, gain;
        uint8_t raw;
        int16_t stored;
        double estimate;
    };
    const Case cases[] = {
        {0, 1, 62, 62, 62},       // the first frame is the reading
        {0, 10, 250, 100, 100},   // 2500 limited
        {50, 1, 10, 0, 0},        // -40 limited
        {0, 1, 100, 100, 100},
    };
    for (const Case& c : cases) {
        DecoderRig rig;
        rig.settings.weatherHumidity1 = c.offset;
        rig.settings.weatherHumidity2 = c.gain;
        rig.feed(weatherFrame(0, 0, c.raw));
        EXPECT_EQ(rig.settings.weatherHumidity, c.stored) << "raw " << int(c.raw) << " gain " << c.gain;
        EXPECT_DOUBLE_EQ(rig.live.humidityEstimate, c.estimate) << "the limited value replaces the estimate";
    }
    DecoderRig rig;
    rig.settings.weatherHumidity2 = 10;
    rig.feed(weatherFrame(0, 0, 250), 20);
    rig.settings.weatherHumidity2 = 1;
    rig.feed(weatherFrame(0, 0, 0));
    EXPECT_DOUBLE_EQ(rig.live.humidityEstimate, 75.0) << "smoothing starts from the limited 100";
}

TEST(Weather, ExtremeCalibrationStaysInTheSettingsRange) {
    // a calibration that makes huge values of a sensor byte must not turn
    // into an undefined conversion
    DecoderRig rig;
    rig.settings.weatherTemper2 = 1e12;
    rig.settings.weatherPressure2 = -1e12;
    rig.feed(weatherFrame(200, 200, 0), 3);
    EXPECT_EQ(rig.settings.weatherTemperature, INT16_MAX);
    EXPECT_EQ(rig.settings.weatherPressure, INT16_MIN);
    rig.settings.weatherTemper2 = 1e308;  // an infinite estimate ...
    rig.feed(weatherFrame(200, 200, 0));
    EXPECT_EQ(rig.settings.weatherTemperature, INT16_MAX);
    rig.settings.weatherTemper2 = -1e308;  // ... and inf - inf in the smoothing: NaN
    rig.feed(weatherFrame(200, 200, 0));
    EXPECT_EQ(rig.settings.weatherTemperature, 0);
}

}  // namespace
