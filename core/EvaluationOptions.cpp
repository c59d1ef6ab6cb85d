#include "EvaluationOptions.h"

#include <algorithm>

#include "Settings.h"

EvaluationOptions evaluationOptionsFromSettings(const Settings& s) {
    EvaluationOptions o;
    o.powerModeItems = &s.powerModeChoices;
    o.powerMode = uint16_t(s.graphPowerMode);
    o.correctionItems = &s.correctionChoices;
    o.correction = uint16_t(s.graphCorrection);
    o.lossTime = s.graphLosstime;
    o.smoothingItems = &s.smoothingChoices;
    // an index beyond the list (a hand-edited INI file) smooths as much as the list goes
    o.smoothing = std::min(uint16_t(s.graphSmoothing), kMaxSmoothing);
    return o;
}
