#pragma once
// Locale-proof number text. German Windows uses a decimal comma; the INI file,
// the dialogs and the measurement tools always use a decimal point, so nothing
// here goes through printf or strtod.
#include <cstdint>
#include <string>


// The program's one double format: 6 significant digits, fixed notation for
// magnitudes from 0.1 to below 1,000,000, otherwise a three-digit exponent;
// trailing zeros dropped, decimal point always kept ("1.", "0.1", "5.e-002").
std::wstring formatDouble(double value);
std::string formatDoubleAscii(double value);

// Like the C library's text-to-double conversion in the "C" locale: leading
// blanks and a sign are accepted, conversion stops at the first character
// that does not fit; text that is no number gives 0.
double parseDouble(const std::wstring& text);
double parseDouble(const std::string& text);

// Like the C library's decimal text-to-long conversion: blanks, sign, digits;
// no number gives 0, values beyond 32 bits saturate.
int32_t parseLong(const std::wstring& text);

// Decimal text of a signed 32-bit value.
std::wstring formatLong(int32_t value);

// Shortest text that reads back bit for bit (17 significant digits at most),
// for JSON output of the tools.
std::string formatRoundTrip(double value);

