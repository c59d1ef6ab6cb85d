#include "FrameEncoder.h"

FrameBytes encodeFrame(SimFrameType type, uint8_t b0, uint8_t b1, uint8_t b2) {
    const uint8_t data[3] = {b0, b1, b2};
    FrameBytes frame{};
    frame[0] = static_cast<uint8_t>(0x80 | static_cast<uint8_t>(type) << 5);
    for (int i = 0; i < 3; ++i) {
        if (data[i] & 0x80) frame[0] |= static_cast<uint8_t>(1 << i);
        frame[i + 1] = data[i] & 0x7F;
    }
    return frame;
}

FrameBytes encodeFrame(SimFrameType type, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    return encodeFrame(type, v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}
