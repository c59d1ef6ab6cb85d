#pragma once
// The sensor set-ups of the measurement dialog's device list ("Geschwind.|
// Lambda/Gas|Lambda/Temp.|UECO Typ A|MTO|Dyno WB2 A/F|Dyno WB2 (Lambda)",
// string 40046): which channel mode the controller must run in, and how the
// two analogue bytes of its status frames become the A/F value q.
#include <cstdint>

enum class AnalogueDecoding : uint8_t {
    None,        // road speed only
    NarrowBand,  // lambda probe voltage on byte 2, throttle on byte 1
    Ueco,        // meter output on byte 1, through the meter's table
    Mto,         // meter output on byte 2, throttle on byte 1
    Wb2,         // A/F on byte 1, exhaust temperature on byte 2
};

struct DeviceType {
    uint8_t channelMode;  // 0 speed only, 1 lambda channels, 2 WB2 channels
    AnalogueDecoding decoding;
};

constexpr int kDeviceTypeCount = 7;

// The row of a device-list index, or nullptr outside the list.
const DeviceType* deviceType(int index);

// q from the status bytes, for each decoding.
int32_t narrowBandValue(uint8_t b2);
int32_t uecoValue(uint8_t b1);
int32_t mtoValue(uint8_t b2);
int32_t wb2Value(uint8_t b1);
