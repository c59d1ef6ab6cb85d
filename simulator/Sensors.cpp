#include "Sensors.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kStoichiometric = 14.7;  // air/fuel ratio of petrol at lambda 1

uint8_t toByte(double value) { return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

uint8_t wander(uint8_t byte, bool noise, std::mt19937_64& random) {
    if (!noise) return byte;
    const int step = static_cast<int>(random() % 3) - 1;
    return static_cast<uint8_t>(std::clamp(byte + step, 0, 255));
}

// the UECO meter's output voltage (mV) against lambda x 100
struct Point {
    double mv, value;
};
const Point kUeco[] = {{1900, 69}, {3000, 100}, {3388, 137}, {3602, 171}, {3747, 206}};

}  // namespace

bool parseSensorKind(const std::string& text, SensorKind& kind) {
    const SensorKind kinds[] = {SensorKind::None, SensorKind::NarrowBand, SensorKind::Ueco, SensorKind::Mto,
                                SensorKind::Wb2};
    for (SensorKind k : kinds)
        if (text == sensorKindName(k)) {
            kind = k;
            return true;
        }
    return false;
}

const char* sensorKindName(SensorKind kind) {
    switch (kind) {
    case SensorKind::None: return "none";
    case SensorKind::NarrowBand: return "narrowband";
    case SensorKind::Ueco: return "ueco";
    case SensorKind::Mto: return "mto";
    case SensorKind::Wb2: return "wb2";
    }
    return "";
}

void Sensors::update(const Vehicle& vehicle, double dt) {
    double lambdaTarget = 1.0, exhaustTarget = 350;
    switch (vehicle.phase()) {
    case DriverPhase::Idle:
    case DriverPhase::Steady:
        break;
    case DriverPhase::PullAway:
        lambdaTarget = 0.95;
        exhaustTarget = 500;
        break;
    case DriverPhase::Pull:
        lambdaTarget = 0.87;  // full-load enrichment
        exhaustTarget = 450 + 400 * vehicle.engineRpm() / vehicle.parameters().limitRpm;
        break;
    case DriverPhase::CoastDown:
    case DriverPhase::Brake:
        lambdaTarget = 1.6;  // fuel cut: the meters read lean
        exhaustTarget = 300;
        break;
    }
    if (p_.fixedLambda > 0) lambdaTarget = p_.fixedLambda;
    // the gas path and the probes lag behind the driver
    lambda_ += (lambdaTarget - lambda_) * std::min(1.0, dt / 0.3);
    exhaust_ += (exhaustTarget - exhaust_) * std::min(1.0, dt / 2.0);
    throttle_ = vehicle.throttle();
}

void Sensors::analogueBytes(uint8_t mode, uint8_t& b1, uint8_t& b2, std::mt19937_64& random) const {
    b1 = b2 = 0;
    if (p_.fixedBytes) {
        b1 = p_.fixedB1;
        b2 = p_.fixedB2;
    } else if (mode == 1) {
        // the lambda channels: two analogue voltages
        const uint8_t throttleByte = toByte(throttle_ * 255);
        switch (p_.kind) {
        case SensorKind::NarrowBand:
            b1 = throttleByte;
            b2 = narrowBandByte(lambda_);
            break;
        case SensorKind::Ueco:
            b1 = uecoByte(lambda_);
            break;
        case SensorKind::Mto:
            b1 = throttleByte;
            b2 = mtoByte(lambda_);
            break;
        case SensorKind::None:
        case SensorKind::Wb2:
            break;
        }
    } else if (mode == 2 && p_.kind == SensorKind::Wb2) {
        b1 = wb2AfrByte(lambda_);
        b2 = wb2TemperatureByte(exhaust_);
    }
    b1 = wander(b1, p_.noise, random);
    b2 = wander(b2, p_.noise, random);
}

void Sensors::weatherBytes(uint8_t bytes[3], std::mt19937_64& random) const {
    const WeatherCalibration& c = p_.calibration;
    bytes[0] = wander(toByte(p_.temperature / c.temperatureGain + c.temperatureOffset), p_.noise, random);
    bytes[1] = wander(toByte(p_.pressure / c.pressureGain + c.pressureOffset), p_.noise, random);
    bytes[2] = wander(toByte(p_.humidity / c.humidityGain + c.humidityOffset), p_.noise, random);
}

uint8_t narrowBandByte(double lambda) {
    // a switching probe: about 850 mV rich, 50 mV lean, steep around lambda 1
    const double mv = 450 - 400 * std::clamp((lambda - 1) / 0.02, -1.0, 1.0);
    return toByte(mv * 11730 / 50000);
}

uint8_t uecoByte(double lambda) {
    const double value = lambda * 100;
    int segment = 0;
    while (segment < 3 && kUeco[segment + 1].value <= value) ++segment;
    const Point a = kUeco[segment], b = kUeco[segment + 1];
    const double mv = std::clamp(a.mv + (b.mv - a.mv) * (value - a.value) / (b.value - a.value), 0.0, 5000.0);
    // the program's v = b1 x 5000 / 255 truncates: aim at the middle of a step
    return toByte(std::ceil(mv * 255 / 5000));
}

uint8_t mtoByte(double lambda) { return toByte(150 - lambda * 50); }

uint8_t wb2AfrByte(double lambda) {
    return toByte(std::ceil((kStoichiometric * lambda * 100 - 1000) * 256 / 800));
}

uint8_t wb2TemperatureByte(double celsius) { return toByte((celsius + 1320) / 50); }
