#include "DiagramText.h"

#include <algorithm>

#include "EvaluationCursor.h"
#include "EvaluationOptions.h"
#include "StringTable.h"

std::wstring FormatScaled(int decimals, int32_t value) {
    if (decimals == 0) return std::to_wstring(value);
    if (decimals == -1) return std::to_wstring(value / 10 * 10);
    if (decimals < 1 || decimals > 9) return L"???";
    const int64_t v = value;
    std::wstring digits = std::to_wstring(v < 0 ? -v : v);
    if (int(digits.size()) < decimals + 1) digits.insert(0, size_t(decimals + 1) - digits.size(), L'0');
    digits.insert(digits.size() - size_t(decimals), 1, L'.');
    return v < 0 ? L"-" + digits : digits;
}

std::wstring ChoiceItem(const std::wstring* items, int index) {
    if (items && index >= 0) {
        size_t start = 0;
        for (int n = 0; n < index; ++n) {
            const size_t bar = items->find(L'|', start);
            if (bar == std::wstring::npos) return portableText(40018);
            start = bar + 1;
        }
        const size_t end = items->find(L'|', start);
        return items->substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    }
    return portableText(40018);
}

std::wstring QuantityName(int q) {
    if (q == kQuantityLambda) return L"A/F";
    if (q < 0 || q >= kQuantityCount) return std::wstring();
    return portableText(quantityDescriptor(q).nameId);
}

std::wstring QuantityUnit(int q) {
    if (q < 0 || q >= kQuantityCount || q == kQuantityLambda) return std::wstring();
    return portableText(quantityDescriptor(q).unitId);
}

int QuantityDecimals(int q) {
    if (q == kQuantityLambda) return 1;
    if (q == kQuantityPowerTorqueKw) return quantityDescriptor(kQuantityPowerKw).decimals;
    if (q == kQuantityPowerTorquePs) return quantityDescriptor(kQuantityPowerPs).decimals;
    if (q < 0 || q >= kQuantityCount) return 0;
    return quantityDescriptor(q).decimals;
}

std::wstring QuantityLabel(int q) { return QuantityName(q) + L" [" + QuantityUnit(q) + L"]"; }

std::wstring SmoothingName(const EvaluationOptions& options) {
    if (options.smoothing == 0) return std::wstring();
    std::wstring item = ChoiceItem(options.smoothingItems, std::min(options.smoothing, kMaxSmoothing));
    const size_t bracket = item.find(L" (");
    if (bracket != std::wstring::npos) item.erase(bracket);
    return portableText(40161) + L" " + item;  // "Glättung"
}
