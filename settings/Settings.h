#pragma once
// The program-wide configuration record. Every persisted field has one row in
// the descriptor table (Settings.cpp); reading and writing walk that table in
// order. Fields without a key are run-time only (choice-list texts, the
// comment for the next recording).
#include <cstdint>
#include <string>

#include "ProfileStore.h"

struct Settings {
    int16_t speedMin = 0;               // Speed/min
    int16_t speedMax = 250;             // Speed/max
    int16_t rpmMin = 0;                 // RPM/min
    int16_t rpmMax = 8000;              // RPM/max
    int16_t recordPeriod = 20;          // Record/Period, seconds
    int16_t recordStartVal = 2000;      // Record/StartVal
    std::wstring startModeChoices;      // "U/min|km/h" (40032)
    int16_t recordStartMode = 0;        // Record/StartMode
    int16_t bordersLeft = 22;           // Borders/left, mm
    int16_t bordersTop = 23;            // Borders/top
    int16_t bordersRight = 24;          // Borders/right
    int16_t bordersBottom = 25;         // Borders/bottom
    std::wstring pageHeadline;          // Page/Headline
    std::wstring fontName;              // Font/Name
    int16_t fontHeight = 45;            // Font/Height, 0.1 mm
    int16_t weatherTemperature = 25;    // Weather/Temperature, °C
    int16_t weatherPressure = 990;      // Weather/Pressure, mbar
    int16_t weatherHumidity = 50;       // Weather/Humidity, %
    int16_t weatherAuto = 1;            // Weather/Auto
    std::wstring powerModeChoices;      // "Motor|Achse" (40013)
    int16_t graphPowerMode = 0;         // Graph/PowerMode
    std::wstring powerUnitChoices;      // "PS|kW" (40033)
    int16_t graphPowerUnit = 0;         // Graph/PowerUnit
    std::wstring correctionChoices;     // "unkorrigiert|DIN 70020|ISO 1585" (40000)
    int16_t graphCorrection = 0;        // Graph/Correction
    double graphLosstime = 3.0;         // Graph/Losstime, s
    std::wstring smoothingChoices;      // "normal (75 ms)|mittel (150 ms)|stark (300 ms)" (40160)
    int16_t graphSmoothing = 0;         // Graph/Smoothing
    std::wstring relationChoices;       // "1:2|1:1|2:1" (40002)
    int16_t recordRelation = 1;         // Record/Relation
    int16_t hardwareComPort = 1;        // Hardware/ComPort
    double recordGear = 1.0;            // Record/Gear
    int16_t recordGearAuto = 1;         // Record/GearAuto
    std::wstring resumeModeChoices;     // (40043)
    int16_t recordResumeMode = 1;       // Record/ResumeMode
    std::wstring recordComment;         // comment for the next recording, never persisted
    std::wstring pulseCountChoices;     // "1|2|...|16" (40001)
    int16_t hardwarePulseCount = 15;    // Hardware/PulseCount (index 0..15)
    double hardwarePCorr = 1.0;         // Hardware/PCorr
    double hardwareMCorr = 1.0;         // Hardware/MCorr
    std::wstring timeFormat;            // Time/Format (strftime)
    double mechanicsWheel = 1.25;       // Mechanics/Wheel, m
    double mechanicsInertia = 7.05;     // Mechanics/Inertia, Nms²
    std::wstring desktopLastFile;       // Desktop/LastFile
    std::wstring desktopLastExport;     // Desktop/LastExport: the file of the last export
    double weatherHumidity1 = 0.0;      // Weather/Humidity1 (offset)
    double weatherHumidity2 = 1.0;      // Weather/Humidity2 (gain)
    double weatherTemper1 = 0.0;        // Weather/Temper1
    double weatherTemper2 = 1.0;        // Weather/Temper2
    double weatherPressure1 = 0.0;      // Weather/Pressure1
    double weatherPressure2 = 1.0;      // Weather/Pressure2
    int16_t supervisorAdvancedEditing = 0;  // Supervisor/AdvancedEditing
    int32_t supervisorCmdShow = 0;      // Supervisor/CmdShow (WS_MINIMIZE / WS_MAXIMIZE bits)
    int32_t supervisorCmdShowChild = 0; // Supervisor/CmdShowChild
    std::wstring supervisorWindowTitle; // Supervisor/WindowTitle
    double hardwareGapDeviation = 0.1;  // Hardware/GapDeviation
};

enum class SettingKind : uint32_t { Gap = 0, End = 1, Short = 2, Long = 3, String = 4, Double = 5 };

// One row of the descriptor table. Exactly one of the field pointers fits the
// kind; gap rows point at their run-time-only text.
struct SettingDescriptor {
    SettingKind kind;
    const wchar_t* section;
    const wchar_t* key;
    int32_t intDefault;            // short, long; for a gap the field size (4)
    const wchar_t* textDefault;    // string
    double realDefault;            // double
    int16_t Settings::*shortField;
    int32_t Settings::*longField;
    std::wstring Settings::*textField;  // string and gap
    double Settings::*realField;
};

// The table, ending with its end row.
const SettingDescriptor* settingDescriptors();
int settingDescriptorCount();  // rows including the end row

// Read every row from the store (defaults for what is missing).
void loadSettings(Settings& settings, ProfileStore& store);
// Write every row to the store in table order.
void saveSettings(const Settings& settings, ProfileStore& store);

// After reading: choice lists from the string table, empty comment, program
// title for an empty headline and the default time format for an empty one.
using TextLoader = std::wstring (*)(int id);
void completeLoadedSettings(Settings& settings, TextLoader loadText);

// The one program-wide instance.
Settings& theSettings();
