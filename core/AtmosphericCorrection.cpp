#include "AtmosphericCorrection.h"

#include <cmath>

namespace {

// mbar at 0, 1, ... 44 °C
const uint8_t kVapourPressure[45] = {
    6,  7,  7,  8,  8,  9,  9,  10, 11, 11,  //
    12, 13, 14, 15, 16, 17, 18, 19, 21, 22,  //
    23, 25, 26, 28, 30, 32, 34, 36, 38, 40,  //
    42, 45, 48, 50, 53, 56, 59, 63, 66, 70,  //
    74, 78, 82, 86, 91,
};

}  // namespace

int saturationVapourPressure(int16_t temperature) {
    return kVapourPressure[temperature < 0 ? 0 : temperature < 44 ? temperature : 44];
}

double correctionFactor(uint16_t method, int16_t temperature, uint16_t pressure, uint16_t humidity) {
    const double t = temperature;
    const double p = pressure;
    switch (method) {
    case kDin70020:
        return (1013.0 / p) * std::sqrt((t + 273.0) / 293.0);
    case kIso1585: {
        // ISO works with the pressure of the dry air alone
        const double dry = p - saturationVapourPressure(temperature) * double(humidity) / 100.0;
        return std::pow(990.0 / dry, 1.2) * std::pow((t + 273.0) / 298.0, 0.6);
    }
    default:
        return 1.0;
    }
}

bool correctionFactorInBand(double factor) { return factor >= kValidFactorLow && factor <= kValidFactorHigh; }

bool correctionValid(uint16_t method, double factor) {
    if (method != kDin70020 && method != kIso1585) return true;
    return correctionFactorInBand(factor);
}
