#pragma once
// Conversion of torque and power to standard air, so that runs made in
// different weather compare: none, DIN 70020 or ISO 1585 (the index of the
// choice list "unkorrigiert|DIN 70020|ISO 1585").
#include <cstdint>

enum CorrectionMethod : uint16_t { kUncorrected = 0, kDin70020 = 1, kIso1585 = 2 };

// Saturation vapour pressure of water in mbar, from the table for 0..44 °C;
// warmer air uses the 44 °C entry, frost the 0 °C entry.
int saturationVapourPressure(int16_t temperature);

// The factor that multiplies every torque and power value. temperature in °C
// (signed: workshops freeze in winter),
// pressure in mbar, humidity in percent, all as the measurement stores them.
// An unknown method counts as uncorrected. Degenerate weather (no pressure, or
// no dry-air pressure left) gives an infinite or undefined factor; the
// quantity values clamp it.
double correctionFactor(uint16_t method, int16_t temperature, uint16_t pressure, uint16_t humidity);

// The formulas hold for factors from 0.93 to 1.07; a result corrected by a
// factor beyond that compares only together with its test conditions. An
// infinite or undefined factor lies outside.
constexpr double kValidFactorLow = 0.93;
constexpr double kValidFactorHigh = 1.07;
bool correctionFactorInBand(double factor);

// True when no correction is chosen or the factor lies in the band.
bool correctionValid(uint16_t method, double factor);
