#pragma once
// Scale rounding for dials and diagram axes. Portable: no windows.h.
#include <cstdint>

constexpr int kScaleOutward = 0;  // minimum rounded down, maximum up
constexpr int kScaleInward = 1;   // minimum rounded up, maximum down

// Chooses the scale step from 1, 2, 5, 10, 20, ..., 20000: the first step s
// for which (rounded maximum - rounded minimum) / intervals (integer division)
// is at most s, else 20000. `step` holds the wanted number of intervals on the
// way in and the chosen step on the way out; minimum and maximum come back
// rounded to multiples of it. 0..250 with 10 intervals gives 0..250, step 50.
void RoundScale(int32_t& minimum, int32_t& maximum, int32_t& step, int direction);
