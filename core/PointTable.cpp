#include "PointTable.h"

#include "StringTable.h"
#include "Utf8.h"

namespace {

constexpr int kFileColumnText = 40164;  // "Datei"

struct Column {
    int quantity;
    int decimals;
};
const Column kColumns[] = {
    {kQuantityTime, 2},     {kQuantitySpeed, 1},  {kQuantityEngineSpeed, 0},
    {kQuantityDistance, 1}, {kQuantityTorque, 1}, {kQuantityPowerKw, 1},
    {kQuantityPowerPs, 1},  {kQuantityLambda, 1},  // the diagram shows 147 as 14.7
};

// "Zeit [s]": name and unit of a quantity, as the diagram titles its axes.
std::wstring columnTitle(int q) {
    if (q == kQuantityLambda) return L"A/F";
    const QuantityDescriptor& d = quantityDescriptor(q);
    return portableText(d.nameId) + L" [" + portableText(d.unitId) + L"]";
}

// A scaled integer with its decimals: (1718, 1, '.') -> "171.8".
std::string scaledNumber(long long value, int decimals, char point) {
    if (decimals <= 0) return std::to_string(value);
    const bool negative = value < 0;
    const unsigned long long magnitude = negative ? 0ULL - (unsigned long long)value : (unsigned long long)value;
    unsigned long long scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    std::string fraction = std::to_string(magnitude % scale);
    fraction.insert(0, size_t(decimals) - fraction.size(), '0');
    return (negative ? "-" : "") + std::to_string(magnitude / scale) + point + fraction;
}

}  // namespace

PointTableStyle pointTableStyle(bool csv, bool german) {
    PointTableStyle style;
    style.separator = csv ? (german ? ';' : ',') : '\t';
    style.decimalPoint = german ? ',' : '.';
    return style;
}

std::string pointTableField(const std::string& text, char separator) {
    if (text.find_first_of(std::string("\"\r\n") + separator) == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string pointTableHeader(const PointTableStyle& style, bool withFileName) {
    std::string line;
    if (withFileName) line = pointTableField(toUtf8(portableText(kFileColumnText)), style.separator) + style.separator;
    line += pointTableField("Index", style.separator);
    for (const Column& c : kColumns) line += style.separator + pointTableField(toUtf8(columnTitle(c.quantity)), style.separator);
    return line;
}

std::vector<std::string> pointTableRows(EvaluationCursor& cursor, Measurement& m, const PointTableStyle& style,
                                        const std::wstring* fileName) {
    std::vector<std::string> rows;
    const std::string name = fileName ? pointTableField(toUtf8(*fileName), style.separator) + style.separator : "";
    cursor.rewind(m);
    do {
        const uint16_t i = cursor.index();
        std::string line = name + std::to_string(i);
        for (const Column& c : kColumns)
            line += style.separator +
                    pointTableField(scaledNumber(cursor.quantityValue(c.quantity, i), c.decimals, style.decimalPoint),
                                    style.separator);
        rows.push_back(std::move(line));
    } while (cursor.advance());
    return rows;
}
