#include "Settings.h"

#include "NumberText.h"

namespace {

constexpr SettingDescriptor gapRow(std::wstring Settings::*field) {
    return {SettingKind::Gap, nullptr, nullptr, 4, nullptr, 0.0, nullptr, nullptr, field, nullptr};
}
constexpr SettingDescriptor shortRow(const wchar_t* section, const wchar_t* key, int16_t def,
                                     int16_t Settings::*field) {
    return {SettingKind::Short, section, key, def, nullptr, 0.0, field, nullptr, nullptr, nullptr};
}
constexpr SettingDescriptor longRow(const wchar_t* section, const wchar_t* key, int32_t def,
                                    int32_t Settings::*field) {
    return {SettingKind::Long, section, key, def, nullptr, 0.0, nullptr, field, nullptr, nullptr};
}
constexpr SettingDescriptor textRow(const wchar_t* section, const wchar_t* key, const wchar_t* def,
                                    std::wstring Settings::*field) {
    return {SettingKind::String, section, key, 0, def, 0.0, nullptr, nullptr, field, nullptr};
}
constexpr SettingDescriptor realRow(const wchar_t* section, const wchar_t* key, double def,
                                    double Settings::*field) {
    return {SettingKind::Double, section, key, 0, nullptr, def, nullptr, nullptr, nullptr, field};
}
constexpr SettingDescriptor endRow() {
    return {SettingKind::End, nullptr, nullptr, 0, nullptr, 0.0, nullptr, nullptr, nullptr, nullptr};
}

const SettingDescriptor kDescriptors[] = {
    shortRow(L"Speed", L"min", 0, &Settings::speedMin),
    shortRow(L"Speed", L"max", 250, &Settings::speedMax),
    shortRow(L"RPM", L"min", 0, &Settings::rpmMin),
    shortRow(L"RPM", L"max", 8000, &Settings::rpmMax),
    shortRow(L"Record", L"Period", 20, &Settings::recordPeriod),
    shortRow(L"Record", L"StartVal", 2000, &Settings::recordStartVal),
    gapRow(&Settings::startModeChoices),
    shortRow(L"Record", L"StartMode", 0, &Settings::recordStartMode),
    shortRow(L"Borders", L"left", 22, &Settings::bordersLeft),
    shortRow(L"Borders", L"top", 23, &Settings::bordersTop),
    shortRow(L"Borders", L"right", 24, &Settings::bordersRight),
    shortRow(L"Borders", L"bottom", 25, &Settings::bordersBottom),
    textRow(L"Page", L"Headline", L"", &Settings::pageHeadline),
    textRow(L"Font", L"Name", L"Arial", &Settings::fontName),
    shortRow(L"Font", L"Height", 45, &Settings::fontHeight),
    shortRow(L"Weather", L"Temperature", 25, &Settings::weatherTemperature),
    shortRow(L"Weather", L"Pressure", 990, &Settings::weatherPressure),
    shortRow(L"Weather", L"Humidity", 50, &Settings::weatherHumidity),
    shortRow(L"Weather", L"Auto", 1, &Settings::weatherAuto),
    gapRow(&Settings::powerModeChoices),
    shortRow(L"Graph", L"PowerMode", 0, &Settings::graphPowerMode),
    gapRow(&Settings::powerUnitChoices),
    shortRow(L"Graph", L"PowerUnit", 0, &Settings::graphPowerUnit),
    gapRow(&Settings::correctionChoices),
    shortRow(L"Graph", L"Correction", 0, &Settings::graphCorrection),
    realRow(L"Graph", L"Losstime", 3.0, &Settings::graphLosstime),
    gapRow(&Settings::smoothingChoices),
    shortRow(L"Graph", L"Smoothing", 0, &Settings::graphSmoothing),
    gapRow(&Settings::relationChoices),
    shortRow(L"Record", L"Relation", 1, &Settings::recordRelation),
    shortRow(L"Hardware", L"ComPort", 1, &Settings::hardwareComPort),
    realRow(L"Record", L"Gear", 1.0, &Settings::recordGear),
    shortRow(L"Record", L"GearAuto", 1, &Settings::recordGearAuto),
    gapRow(&Settings::resumeModeChoices),
    shortRow(L"Record", L"ResumeMode", 1, &Settings::recordResumeMode),
    gapRow(&Settings::recordComment),
    gapRow(&Settings::pulseCountChoices),
    shortRow(L"Hardware", L"PulseCount", 15, &Settings::hardwarePulseCount),
    realRow(L"Hardware", L"PCorr", 1.0, &Settings::hardwarePCorr),
    realRow(L"Hardware", L"MCorr", 1.0, &Settings::hardwareMCorr),
    textRow(L"Time", L"Format", L"", &Settings::timeFormat),
    realRow(L"Mechanics", L"Wheel", 1.25, &Settings::mechanicsWheel),
    realRow(L"Mechanics", L"Inertia", 7.05, &Settings::mechanicsInertia),
    textRow(L"Desktop", L"LastFile", L"*.kxm", &Settings::desktopLastFile),
    textRow(L"Desktop", L"LastExport", L"", &Settings::desktopLastExport),
    realRow(L"Weather", L"Humidity1", 0.0, &Settings::weatherHumidity1),
    realRow(L"Weather", L"Humidity2", 1.0, &Settings::weatherHumidity2),
    realRow(L"Weather", L"Temper1", 0.0, &Settings::weatherTemper1),
    realRow(L"Weather", L"Temper2", 1.0, &Settings::weatherTemper2),
    realRow(L"Weather", L"Pressure1", 0.0, &Settings::weatherPressure1),
    realRow(L"Weather", L"Pressure2", 1.0, &Settings::weatherPressure2),
    shortRow(L"Supervisor", L"AdvancedEditing", 0, &Settings::supervisorAdvancedEditing),
    longRow(L"Supervisor", L"CmdShow", 0, &Settings::supervisorCmdShow),
    longRow(L"Supervisor", L"CmdShowChild", 0, &Settings::supervisorCmdShowChild),
    textRow(L"Supervisor", L"WindowTitle", L"Kaltrenox", &Settings::supervisorWindowTitle),
    realRow(L"Hardware", L"GapDeviation", 0.1, &Settings::hardwareGapDeviation),
    endRow(),
};

constexpr size_t kTextBufferChars = 128;  // strings: 127 characters and the terminator
constexpr size_t kNumberBufferChars = 32;
constexpr size_t kTitleChars = 79;

}  // namespace

const SettingDescriptor* settingDescriptors() { return kDescriptors; }
int settingDescriptorCount() { return int(sizeof kDescriptors / sizeof kDescriptors[0]); }

void loadSettings(Settings& s, ProfileStore& store) {
    for (const SettingDescriptor* row = kDescriptors; row->kind != SettingKind::End; ++row) {
        switch (row->kind) {
        case SettingKind::Short:
            s.*row->shortField = int16_t(uint16_t(store.getInt(row->section, row->key, row->intDefault)));
            break;
        case SettingKind::Long: {
            const std::wstring def = formatLong(row->intDefault);
            s.*row->longField = parseLong(store.getString(row->section, row->key, def.c_str(), kNumberBufferChars));
            break;
        }
        case SettingKind::String:
            s.*row->textField = store.getString(row->section, row->key, row->textDefault, kTextBufferChars);
            break;
        case SettingKind::Double: {
            const std::wstring def = formatDouble(row->realDefault);
            s.*row->realField = parseDouble(store.getString(row->section, row->key, def.c_str(), kNumberBufferChars));
            break;
        }
        case SettingKind::Gap:
        case SettingKind::End:
            break;
        }
    }
}

void saveSettings(const Settings& s, ProfileStore& store) {
    for (const SettingDescriptor* row = kDescriptors; row->kind != SettingKind::End; ++row) {
        switch (row->kind) {
        case SettingKind::Short:
            // written as the unsigned 16-bit value: -1 becomes "65535" and reads back as -1
            store.writeString(row->section, row->key, formatLong(uint16_t(s.*row->shortField)));
            break;
        case SettingKind::Long:
            store.writeString(row->section, row->key, formatLong(s.*row->longField));
            break;
        case SettingKind::String:
            store.writeString(row->section, row->key, s.*row->textField);
            break;
        case SettingKind::Double:
            store.writeString(row->section, row->key, formatDouble(s.*row->realField));
            break;
        case SettingKind::Gap:
        case SettingKind::End:
            break;
        }
    }
}

void completeLoadedSettings(Settings& s, TextLoader loadText) {
    s.startModeChoices = loadText(40032);
    s.powerModeChoices = loadText(40013);
    s.powerUnitChoices = loadText(40033);
    s.correctionChoices = loadText(40000);
    s.smoothingChoices = loadText(40160);
    s.relationChoices = loadText(40002);
    s.resumeModeChoices = loadText(40043);
    s.pulseCountChoices = loadText(40001);
    s.recordComment.clear();
    if (s.pageHeadline.empty()) s.pageHeadline = loadText(40019).substr(0, kTitleChars);
    if (s.timeFormat.empty()) s.timeFormat = loadText(40028).substr(0, kTitleChars);
}

Settings& theSettings() {
    static Settings instance;
    return instance;
}
