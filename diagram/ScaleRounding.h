#pragma once
// Scale steps for the axis ticks. The instruments' scale rounding chooses the
// step; until it is available to this folder the diagram carries the same
// rule here (steps 1, 2, 5 ... 20000 on the scaled integers).
#include <cstdint>

// minimum/maximum are rounded to multiples of the chosen step, outward
// (direction 0: minimum down, maximum up) or inward (direction ≠ 0); step
// holds the wanted number of intervals on entry and the step on return.
void RoundScaleForDiagram(int32_t& minimum, int32_t& maximum, int32_t& step, int direction);
