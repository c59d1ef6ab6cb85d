#include "DialGeometry.h"

#include <cstdio>
#include <cwchar>
#include <cwctype>

double RoundDialAngle(int32_t value, int32_t minimum, int32_t maximum) {
    if (maximum == minimum) return kDialQuarterTurn;
    return (double(value) - double(minimum)) * kDialPi * 1.5 / (double(maximum) - double(minimum)) +
           kDialQuarterTurn;
}

double SectionDialAngle(int32_t value, int32_t minimum, int32_t maximum, int32_t startAngle,
                        int32_t endAngle) {
    if (maximum == minimum) return startAngle * kDialDegree;
    return (double(value) - double(minimum)) * kDialDegree * (double(endAngle) - double(startAngle)) /
               (double(maximum) - double(minimum)) +
           startAngle * kDialDegree;
}

namespace {

bool IsFlag(wchar_t c) {
    return c == L'-' || c == L'+' || c == L' ' || c == L'0' || c == L'#';
}

bool IsIntegerConversion(wchar_t c) {
    return c == L'd' || c == L'i' || c == L'u' || c == L'x' || c == L'X' || c == L'o';
}

// One integer conversion with its flags and width (at most two digits, so the
// text stays short), formatted with the C library on a format we built.
std::wstring FormatOne(const std::wstring& flags, const std::wstring& width, wchar_t conversion, int32_t value) {
    std::wstring spec = L"%" + flags + width;
    wchar_t out[64] = {};
    if (conversion == L'd' || conversion == L'i') {
        spec += L'd';
        std::swprintf(out, 64, spec.c_str(), int(value));
    } else {
        spec += conversion;
        std::swprintf(out, 64, spec.c_str(), unsigned(uint32_t(value)));
    }
    return out;
}

}  // namespace

std::wstring FormatValueText(const std::wstring& format, int32_t value) {
    std::wstring text;
    bool used = false;
    size_t i = 0;
    while (i < format.size()) {
        if (format[i] != L'%') {
            text += format[i++];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            text += L'%';
            i += 2;
            continue;
        }
        size_t j = i + 1;
        std::wstring flags, width;
        while (j < format.size() && IsFlag(format[j]) && flags.size() < 5) flags += format[j++];
        while (j < format.size() && std::iswdigit(format[j]) && width.size() < 2) width += format[j++];
        while (j < format.size() && (format[j] == L'l' || format[j] == L'h')) ++j;
        if (!used && j < format.size() && IsIntegerConversion(format[j])) {
            text += FormatOne(flags, width, format[j], value);
            used = true;
            i = j + 1;
        } else {
            text += format[i++];  // not ours to fill: shown as written
        }
    }
    return text;
}

std::wstring TenthsLabel(int32_t value) {
    std::wstring label = std::to_wstring(value / 10);
    if (label.size() > 3) label.resize(3);
    return label;
}
