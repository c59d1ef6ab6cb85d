#include "DetMath.h"

#include <cmath>

static double sinReduced(double x) {  // |x| <= pi/2
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 11; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double detSin(double x) {
    const double twoPi = 2.0 * kPi;
    double r = x - std::floor(x / twoPi + 0.5) * twoPi;  // [-pi, pi]
    if (r > kPi / 2) r = kPi - r;
    else if (r < -kPi / 2) r = -kPi - r;
    return sinReduced(r);
}

double detCos(double x) { return detSin(x + kPi / 2); }

static double atanReduced(double x) {  // |x| <= 1
    // two halvings, atan(x) = 2 atan(x / (1 + sqrt(1 + x^2))), leave |x| <= tan(pi/16)
    double t = x / (1.0 + std::sqrt(1.0 + x * x));
    t = t / (1.0 + std::sqrt(1.0 + t * t));
    const double t2 = t * t;
    double term = t;
    double sum = t;
    for (int n = 1; n <= 12; ++n) {
        term *= -t2;
        sum += term / (2.0 * n + 1.0);
    }
    return 4.0 * sum;
}

static double detAtan(double x) {
    if (x > 1.0) return kPi / 2 - atanReduced(1.0 / x);
    if (x < -1.0) return -kPi / 2 - atanReduced(1.0 / x);
    return atanReduced(x);
}

double detAtan2(double y, double x) {
    if (x > 0) return detAtan(y / x);
    if (x < 0) return y >= 0 ? detAtan(y / x) + kPi : detAtan(y / x) - kPi;
    if (y > 0) return kPi / 2;
    if (y < 0) return -kPi / 2;
    return 0.0;
}

double detRadians(double degrees) { return degrees * (kPi / 180.0); }
