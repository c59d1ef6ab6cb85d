#include "LiveValues.h"

#include <cmath>

int32_t LiveValues::engineSpeed() const {
    if (enginePeriod <= 0 || status[1] == 0) return 0;
    return 120000000 / enginePeriod;
}

int32_t LiveValues::rollerSpeed(double wheel) const {
    if (rollerPeriod <= 0) return 0;
    return truncateToInt32(wheel * 2000000.0 * 3.6 / rollerPeriod);
}

int32_t truncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int16_t truncateToInt16(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 32767.0) return INT16_MAX;
    if (value <= -32768.0) return INT16_MIN;
    return static_cast<int16_t>(value);
}
