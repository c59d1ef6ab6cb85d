#include "Settings.h"

#include "NumberText.h"
#include "resource.h"

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

#define KX_SHORT_ROW(field, section, key, def) shortRow(section, key, def, &Settings::field),
#define KX_LONG_ROW(field, section, key, def) longRow(section, key, def, &Settings::field),
#define KX_TEXT_ROW(field, section, key, def) textRow(section, key, def, &Settings::field),
#define KX_REAL_ROW(field, section, key, def) realRow(section, key, def, &Settings::field),
#define KX_GAP_ROW(field) gapRow(&Settings::field),
const SettingDescriptor kDescriptors[] = {
    KX_SETTINGS(KX_SHORT_ROW, KX_LONG_ROW, KX_TEXT_ROW, KX_REAL_ROW, KX_GAP_ROW)
    endRow(),
};
#undef KX_SHORT_ROW
#undef KX_LONG_ROW
#undef KX_TEXT_ROW
#undef KX_REAL_ROW
#undef KX_GAP_ROW

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
    s.startModeChoices = loadText(IDS_START_MODE_CHOICES);
    s.powerModeChoices = loadText(IDS_POWER_MODE_CHOICES);
    s.powerUnitChoices = loadText(IDS_POWER_UNIT_CHOICES);
    s.correctionChoices = loadText(IDS_CORRECTION_CHOICES);
    s.smoothingChoices = loadText(IDS_SMOOTHING_CHOICES);
    s.relationChoices = loadText(IDS_RELATION_CHOICES);
    s.resumeModeChoices = loadText(IDS_RESUME_CHOICES);
    s.pulseCountChoices = loadText(IDS_PULSE_CHOICES);
    s.recordComment.clear();
    if (s.pageHeadline.empty()) s.pageHeadline = loadText(IDS_HEADLINE).substr(0, kTitleChars);
    if (s.timeFormat.empty()) s.timeFormat = loadText(IDS_TIME_FORMAT).substr(0, kTitleChars);
}

Settings& theSettings() {
    static Settings instance;
    return instance;
}
