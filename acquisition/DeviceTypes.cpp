#include "DeviceTypes.h"

namespace {

const DeviceType kDeviceTypes[kDeviceTypeCount] = {
    {0, AnalogueDecoding::None},        // "Geschwind."
    {1, AnalogueDecoding::NarrowBand},  // "Lambda/Gas"
    {1, AnalogueDecoding::NarrowBand},  // "Lambda/Temp."
    {1, AnalogueDecoding::Ueco},        // "UECO Typ A"
    {1, AnalogueDecoding::Mto},         // "MTO"
    {2, AnalogueDecoding::Wb2},         // "Dyno WB2 A/F"
    {2, AnalogueDecoding::Wb2},         // "Dyno WB2 (Lambda)"
};

// The UECO meter's characteristic: output in mV against the value shown.
struct Point {
    int32_t x;
    int32_t y;
};
const Point kUecoTable[] = {{1900, 69}, {3000, 100}, {3388, 137}, {3602, 171}, {3747, 206}};
constexpr int kUecoPoints = sizeof kUecoTable / sizeof kUecoTable[0];

}  // namespace

const DeviceType* deviceType(int index) {
    return index >= 0 && index < kDeviceTypeCount ? &kDeviceTypes[index] : nullptr;
}

int32_t narrowBandValue(uint8_t b2) {
    // probe voltage in mV; the plateau between 180 and 750 mV reads as 100
    int32_t x = b2 * 50000 / 11730;
    if (x >= 180) x = x <= 750 ? 180 : x - 570;
    return x * 100 / 180;
}

int32_t uecoValue(uint8_t b1) {
    int32_t v = b1 * 5000 / 255;
    if (v < 0) v = 0;
    if (v > 5000) v = 5000;
    // the first segment whose upper end lies above v; the end segments
    // are extended beyond the table
    int segment = 0;
    while (segment < kUecoPoints - 2 && kUecoTable[segment + 1].x <= v) ++segment;
    const Point a = kUecoTable[segment];
    const Point b = kUecoTable[segment + 1];
    return a.y + (b.y - a.y) * (v - a.x) / (b.x - a.x);
}

int32_t mtoValue(uint8_t b2) { return 2 * (150 - b2); }

int32_t wb2Value(uint8_t b1) { return b1 * 800 / 256 + 1000; }
