#pragma once
// Trigonometry from + - * / and sqrt only. The committed images are compared
// byte for byte with a fresh run of the generator, so no pixel may depend on
// the last bit of a C library's sin or atan, which differs between libraries.

constexpr double kPi = 3.14159265358979323846;

double detSin(double x);
double detCos(double x);
double detAtan2(double y, double x);  // radians in (-pi, pi]
double detRadians(double degrees);
