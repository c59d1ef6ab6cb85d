#include "Json.h"

#include <cstdio>

#include "NumberText.h"
#include "Utf8.h"

std::string jsonString(const std::wstring& text) {
    const std::string utf8 = toUtf8(text);
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value) { return formatRoundTrip(value); }

std::string jsonScaled(long long value, int decimals) {
    if (decimals <= 0) return std::to_string(value);
    const bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ULL - (unsigned long long)value : (unsigned long long)value;
    unsigned long long scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    std::string fraction = std::to_string(magnitude % scale);
    fraction.insert(0, size_t(decimals) - fraction.size(), '0');
    return (negative ? "-" : "") + std::to_string(magnitude / scale) + "." + fraction;
}
