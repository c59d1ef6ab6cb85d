#pragma once
// Small helpers for the tools' JSON output (UTF-8).
#include <string>

std::string jsonString(const std::wstring& text);
std::string jsonNumber(double value);  // reads back bit for bit; null for NaN/inf
// A scaled integer written with its decimals: (1718, 1) -> "171.8".
std::string jsonScaled(long long value, int decimals);
