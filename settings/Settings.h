#pragma once
// The program-wide configuration record. Every field, its INI section and key
// and its default are one row of KX_SETTINGS below: the record's fields with
// their initial values and the descriptor table (Settings.cpp) are both made
// from that list, so a new setting is one new row. Reading and writing walk
// the table in order. Gap rows are run-time-only fields without a key
// (choice-list texts, the comment for the next recording).
#include <cstdint>
#include <string>

#include "ProfileStore.h"

// One row per field, in table order:
//   SHORT(field, section, key, default)  16-bit integer
//   LONG(field, section, key, default)   32-bit integer, stored as text
//   TEXT(field, section, key, default)   string of at most 127 characters
//   REAL(field, section, key, default)   64-bit real in the program's number format
//   GAP(field)                           run-time-only text
#define KX_SETTINGS(SHORT, LONG, TEXT, REAL, GAP) \
    SHORT(speedMin, L"Speed", L"min", 0)                                                                                 \
    SHORT(speedMax, L"Speed", L"max", 250)                                                                               \
    SHORT(rpmMin, L"RPM", L"min", 0)                                                                                     \
    SHORT(rpmMax, L"RPM", L"max", 8000)                                                                                  \
    SHORT(recordPeriod, L"Record", L"Period", 20)                             /* seconds */                              \
    SHORT(recordStartVal, L"Record", L"StartVal", 2000)                                                                  \
    GAP(startModeChoices)                                                     /* "U/min|km/h" */                         \
    SHORT(recordStartMode, L"Record", L"StartMode", 0)                                                                   \
    SHORT(bordersLeft, L"Borders", L"left", 22)                               /* mm */                                   \
    SHORT(bordersTop, L"Borders", L"top", 23)                                                                            \
    SHORT(bordersRight, L"Borders", L"right", 24)                                                                        \
    SHORT(bordersBottom, L"Borders", L"bottom", 25)                                                                      \
    TEXT(pageHeadline, L"Page", L"Headline", L"")                                                                        \
    TEXT(fontName, L"Font", L"Name", L"Arial")                                                                           \
    SHORT(fontHeight, L"Font", L"Height", 45)                                 /* 0.1 mm */                               \
    SHORT(weatherTemperature, L"Weather", L"Temperature", 25)                 /* °C */                                   \
    SHORT(weatherPressure, L"Weather", L"Pressure", 990)                      /* mbar */                                 \
    SHORT(weatherHumidity, L"Weather", L"Humidity", 50)                       /* % */                                    \
    SHORT(weatherAuto, L"Weather", L"Auto", 1)                                                                           \
    GAP(powerModeChoices)                                                     /* "Motor|Achse" */                        \
    SHORT(graphPowerMode, L"Graph", L"PowerMode", 0)                                                                     \
    GAP(powerUnitChoices)                                                     /* "PS|kW" */                              \
    SHORT(graphPowerUnit, L"Graph", L"PowerUnit", 0)                                                                     \
    GAP(correctionChoices)                                                    /* "unkorrigiert|DIN 70020|ISO 1585" */    \
    SHORT(graphCorrection, L"Graph", L"Correction", 0)                                                                   \
    REAL(graphLosstime, L"Graph", L"Losstime", 3.0)                           /* s */                                    \
    GAP(smoothingChoices)                                                     /* "normal (75 ms)|mittel (150 ms)|..." */ \
    SHORT(graphSmoothing, L"Graph", L"Smoothing", 0)                                                                     \
    GAP(relationChoices)                                                      /* "1:2|1:1|2:1" */                        \
    SHORT(recordRelation, L"Record", L"Relation", 1)                                                                     \
    SHORT(hardwareComPort, L"Hardware", L"ComPort", 1)                                                                   \
    REAL(recordGear, L"Record", L"Gear", 1.0)                                                                            \
    SHORT(recordGearAuto, L"Record", L"GearAuto", 1)                                                                     \
    GAP(resumeModeChoices)                                                    /* */                                      \
    SHORT(recordResumeMode, L"Record", L"ResumeMode", 1)                                                                 \
    GAP(recordComment)                                                        /* next recording's comment */             \
    GAP(pulseCountChoices)                                                    /* "1|2|...|16" */                         \
    SHORT(hardwarePulseCount, L"Hardware", L"PulseCount", 15)                                                            \
    REAL(hardwarePCorr, L"Hardware", L"PCorr", 1.0)                                                                      \
    REAL(hardwareMCorr, L"Hardware", L"MCorr", 1.0)                                                                      \
    TEXT(timeFormat, L"Time", L"Format", L"")                                                                            \
    REAL(mechanicsWheel, L"Mechanics", L"Wheel", 1.25)                        /* m */                                    \
    REAL(mechanicsInertia, L"Mechanics", L"Inertia", 7.05)                    /* Nms² */                                 \
    TEXT(desktopLastFile, L"Desktop", L"LastFile", L"*.kxm")                                                             \
    TEXT(desktopLastExport, L"Desktop", L"LastExport", L"")                   /* the file of the last export */          \
    REAL(weatherHumidity1, L"Weather", L"Humidity1", 0.0)                     /* offset */                               \
    REAL(weatherHumidity2, L"Weather", L"Humidity2", 1.0)                     /* gain */                                 \
    REAL(weatherTemper1, L"Weather", L"Temper1", 0.0)                                                                    \
    REAL(weatherTemper2, L"Weather", L"Temper2", 1.0)                                                                    \
    REAL(weatherPressure1, L"Weather", L"Pressure1", 0.0)                                                                \
    REAL(weatherPressure2, L"Weather", L"Pressure2", 1.0)                                                                \
    SHORT(supervisorAdvancedEditing, L"Supervisor", L"AdvancedEditing", 0)                                               \
    LONG(supervisorCmdShow, L"Supervisor", L"CmdShow", 0)                     /* WS_MINIMIZE / WS_MAXIMIZE bits */       \
    LONG(supervisorCmdShowChild, L"Supervisor", L"CmdShowChild", 0)                                                      \
    TEXT(supervisorWindowTitle, L"Supervisor", L"WindowTitle", L"Kaltrenox")                                             \
    REAL(hardwareGapDeviation, L"Hardware", L"GapDeviation", 0.1)

struct Settings {
#define KX_SHORT_FIELD(field, section, key, def) int16_t field = def;
#define KX_LONG_FIELD(field, section, key, def) int32_t field = def;
#define KX_TEXT_FIELD(field, section, key, def) std::wstring field = def;
#define KX_REAL_FIELD(field, section, key, def) double field = def;
#define KX_GAP_FIELD(field) std::wstring field;
    KX_SETTINGS(KX_SHORT_FIELD, KX_LONG_FIELD, KX_TEXT_FIELD, KX_REAL_FIELD, KX_GAP_FIELD)
#undef KX_SHORT_FIELD
#undef KX_LONG_FIELD
#undef KX_TEXT_FIELD
#undef KX_REAL_FIELD
#undef KX_GAP_FIELD
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
