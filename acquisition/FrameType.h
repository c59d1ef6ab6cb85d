#pragma once
#include <cstdint>

// Bits 6-5 of a frame's header byte.
enum class FrameType : uint8_t { EnginePeriod = 0, RollerPeriod = 1, Status = 2, Weather = 3 };
