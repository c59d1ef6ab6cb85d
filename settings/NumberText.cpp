#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>


namespace {

void dropTrailingZeros(std::string& digits) {
    // digits always contains a '.'
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

}  // namespace

std::string formatDoubleAscii(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    if (value == 0.0) return std::signbit(value) ? "-0." : "0.";

    // The exponent after rounding to six significant digits decides the notation.
    char sci[64];
    auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 5);
    std::string s(sci, res.ptr);
    const auto ePos = s.find('e');
    const int exponent = std::atoi(s.c_str() + ePos + 1);

    if (exponent >= -1 && exponent <= 5) {
        char fixed[64];
        auto r = std::to_chars(fixed, fixed + sizeof fixed, value, std::chars_format::fixed, 5 - exponent);
        std::string out(fixed, r.ptr);
        if (out.find('.') == std::string::npos) out += '.';
        dropTrailingZeros(out);
        return out;
    }

    std::string mantissa = s.substr(0, ePos);
    if (mantissa.find('.') == std::string::npos) mantissa += '.';
    dropTrailingZeros(mantissa);
    char expText[16];
    const int magnitude = exponent < 0 ? -exponent : exponent;
    expText[0] = 'e';
    expText[1] = exponent < 0 ? '-' : '+';
    expText[2] = char('0' + (magnitude / 100) % 10);
    expText[3] = char('0' + (magnitude / 10) % 10);
    expText[4] = char('0' + magnitude % 10);
    expText[5] = 0;
    return mantissa + expText;
}

std::wstring formatDouble(double value) {
    const std::string ascii = formatDoubleAscii(value);
    return std::wstring(ascii.begin(), ascii.end());
}

double parseDouble(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' ||
                                 text[pos] == '\r' || text[pos] == '\v' || text[pos] == '\f'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // from_chars refuses a second sign, exactly what the C conversion does too.
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) return 0.0;
    double value = 0.0;
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    auto res = std::from_chars(first, last, value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves value untouched on overflow; the C conversion gives ±HUGE_VAL or 0.
        bool tiny = false;
        for (const char* p = first; p < res.ptr; ++p)
            if (*p == 'e' || *p == 'E') { tiny = p + 1 < res.ptr && p[1] == '-'; break; }
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (res.ec != std::errc()) {
        return 0.0;
    }
    return negative ? -value : value;
}

double parseDouble(const std::wstring& text) {
    std::string ascii;
    ascii.reserve(text.size());
    for (wchar_t c : text) ascii += (c > 0 && c < 0x80) ? char(c) : '?';
    return parseDouble(ascii);
}

int32_t parseLong(const std::wstring& text) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == L' ' || text[pos] == L'\t' || text[pos] == L'\n' ||
                                 text[pos] == L'\r' || text[pos] == L'\v' || text[pos] == L'\f'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    int64_t value = 0;
    for (; pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9'; ++pos) {
        value = value * 10 + (text[pos] - L'0');
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) value = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) value = std::numeric_limits<int32_t>::min();
    return int32_t(value);
}

std::wstring formatLong(int32_t value) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::wstring(buf, r.ptr);
}

std::string formatRoundTrip(double value) {
    if (!std::isfinite(value)) return "null";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value);  // shortest round-trip form
    return std::string(buf, r.ptr);
}

