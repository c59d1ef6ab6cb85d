#pragma once
// The program-wide live values of the controller stream: what the decoder
// has made of the frames so far, and the conversions the measurement dialog
// reads on its timer. All zero at program start; opening the measurement
// dialog resets only the device type and the channel mode.
#include <cstdint>

struct LiveValues {
    int32_t engineAccumulator = 0;  // six times the smoothed engine period
    int32_t enginePeriod = 0;       // ticks of 0.5 us per engine revolution; 0 = no engine signal
    int32_t rollerPeriod = 0;       // ticks of 0.5 us per roller revolution, the last frame's
    uint8_t status[3] = {0, 0, 0};  // last status frame: channel mode echo, byte 1, byte 2
    bool statusSeen = false;        // a status frame arrived since the last command byte
    int32_t afAccumulator = 0;      // four times the smoothed lambda or A/F value
    int32_t gasValue = 0;           // throttle or temperature for the "Gas"/"Temp." bar
    int32_t wb2TemperatureAccumulator = 0;  // four times 50 x status byte 2, smoothed
    double temperatureEstimate = 0.0;  // smoothed weather readings, calibrated
    double pressureEstimate = 0.0;
    double humidityEstimate = 0.0;
    bool weatherSeeded = false;  // the estimates hold a reading since Weather/Auto is on
    int deviceType = 0;       // index into "Geschwind.|Lambda/Gas|...", -1 = none chosen yet
    uint8_t channelMode = 0;  // 0 speed only, 1 lambda channels, 2 WB2 channels

    // U/min; 0 without an engine signal or while status byte 1 is 0.
    int32_t engineSpeed() const;
    // km/h on a roller of the given circumference (m); 0 without a period.
    int32_t rollerSpeed(double wheel) const;
    // The A/F bar's value (tenths of the recorded value) and the recorded one.
    int32_t afDisplayValue() const { return afAccumulator / 4 / 10; }
    int32_t recordedLambda() const { return afAccumulator / 4; }
    int32_t gasDisplayValue() const { return gasValue; }
};

// Truncation toward zero of a double into the range of a 32-bit or 16-bit
// integer; NaN gives 0. Calibration settings can make any double out of a
// sensor byte, and a plain conversion of an out-of-range double is undefined.
int32_t truncateToInt32(double value);
int16_t truncateToInt16(double value);
