#pragma once
// The evaluation choices of one diagram window: where power is taken (engine
// or axle), the atmospheric correction and how long after the engine-speed
// maximum the drive-train loss is read. Each choice is the pair the dialogs
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
};

// Graph/PowerMode, Graph/Correction and Graph/Losstime with the choice lists
// of the given settings (which must outlive the options).
EvaluationOptions evaluationOptionsFromSettings(const Settings& settings);
