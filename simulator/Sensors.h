#pragma once
// What hangs on the controller's analogue and weather inputs. The exhaust
// follows the driver: near lambda 1 at idle, rich at full load, lean with the
// fuel cut on the coast-down; each meter turns that into the two analogue
// bytes its wiring gives (the program's device list decodes them). Weather
// sensors give raw bytes through a linear characteristic, the inverse of the
// calibration the program's weather settings describe.
#include <cstdint>
#include <random>
#include <string>

#include "Vehicle.h"

enum class SensorKind { None, NarrowBand, Ueco, Mto, Wb2 };

// (raw - offset) x gain = physical value, as the program calibrates
struct WeatherCalibration {
    double temperatureOffset = 0, temperatureGain = 1;
    double pressureOffset = -300, pressureGain = 2;  // 600..1110 mbar in one byte
    double humidityOffset = 0, humidityGain = 1;
};

struct SensorParameters {
    SensorKind kind = SensorKind::Wb2;
    bool fixedBytes = false;  // analogue bytes given on the command line
    uint8_t fixedB1 = 0, fixedB2 = 0;
    double fixedLambda = 0;   // > 0: the exhaust stays at this lambda
    double temperature = 22;  // °C
    double pressure = 1005;   // mbar
    double humidity = 45;     // %
    WeatherCalibration calibration;
    bool noise = false;       // analogue and weather bytes wander by one count
};

bool parseSensorKind(const std::string& text, SensorKind& kind);
const char* sensorKindName(SensorKind kind);

class Sensors {
public:
    explicit Sensors(const SensorParameters& parameters) : p_(parameters) {}

    // Follows the vehicle; dt in seconds.
    void update(const Vehicle& vehicle, double dt);

    double lambda() const { return lambda_; }
    double exhaustTemperature() const { return exhaust_; }  // °C

    // Status bytes 1 and 2 in channel mode 1 (lambda channels) or 2 (WB2).
    void analogueBytes(uint8_t mode, uint8_t& b1, uint8_t& b2, std::mt19937_64& random) const;
    // The three raw weather bytes: temperature, pressure, humidity.
    void weatherBytes(uint8_t bytes[3], std::mt19937_64& random) const;

private:
    SensorParameters p_;
    double lambda_ = 1.0;
    double exhaust_ = 350;
    double throttle_ = 0;
};

// Inverses of the meters' characteristics, exposed for the tests.
uint8_t narrowBandByte(double lambda);
uint8_t uecoByte(double lambda);
uint8_t mtoByte(double lambda);
uint8_t wb2AfrByte(double lambda);
uint8_t wb2TemperatureByte(double celsius);
