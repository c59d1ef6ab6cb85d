#include "EvaluationOptions.h"

#include "Settings.h"

EvaluationOptions evaluationOptionsFromSettings(const Settings& s) {
    EvaluationOptions o;
    o.powerModeItems = &s.powerModeChoices;
    o.powerMode = uint16_t(s.graphPowerMode);
    o.correctionItems = &s.correctionChoices;
    o.correction = uint16_t(s.graphCorrection);
    o.lossTime = s.graphLosstime;
    return o;
}
