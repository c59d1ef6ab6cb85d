#pragma once
// The controller's side of the wire: a frame is a header byte (bit 7 set,
// frame type in bits 6-5, bit 7 of the three data bytes in bits 2-0) and the
// data bytes with bit 7 cleared; the three bytes carry a 24-bit
// little-endian two's-complement value.
#include <array>
#include <cstdint>

enum class SimFrameType : uint8_t { EnginePeriod = 0, RollerPeriod = 1, Status = 2, Weather = 3 };

using FrameBytes = std::array<uint8_t, 4>;

// value is taken modulo 2^24 (callers keep it within -2^23 .. 2^23 - 1)
FrameBytes encodeFrame(SimFrameType type, int32_t value);
FrameBytes encodeFrame(SimFrameType type, uint8_t b0, uint8_t b1, uint8_t b2);

constexpr int32_t kMaxFrameValue = 0x7FFFFF;
