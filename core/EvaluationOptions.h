#pragma once
// The evaluation choices of one diagram window: where power is taken (engine
// or axle), the atmospheric correction, how long after the engine-speed
// maximum the drive-train loss is read, and how widely values are smoothed. Each choice is the pair the dialogs
// exchange: the item-list text and the index of the chosen item.
#include <cstdint>
#include <string>

struct Settings;

enum PowerMode : uint16_t { kPowerAtEngine = 0, kPowerAtAxle = 1 };

struct EvaluationOptions {
    const std::wstring* powerModeItems = nullptr;   // "Motor|Achse" (40013)
    uint16_t powerMode = kPowerAtEngine;
    const std::wstring* correctionItems = nullptr;  // "unkorrigiert|DIN 70020|ISO 1585" (40000)
    uint16_t correction = 0;
    double lossTime = 3.0;                          // "Zeit nach Maximum", s
    const std::wstring* smoothingItems = nullptr;   // "normal (75 ms)|mittel (150 ms)|stark (300 ms)" (40160)
    uint16_t smoothing = 0;                         // k: the shortest half window is 75 ms × 2^k
};

// The largest smoothing index; a larger one (from a hand-edited INI file)
// counts as this.
constexpr uint16_t kMaxSmoothing = 2;

// Graph/PowerMode, Graph/Correction, Graph/Losstime and Graph/Smoothing with the choice lists
// of the given settings (which must outlive the options).
EvaluationOptions evaluationOptionsFromSettings(const Settings& settings);
