// The settings through the real Windows profile functions (run under Wine).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Settings.h"
#include "StringTable.h"
#include "Win32ProfileStore.h"

namespace {

std::wstring tempIni(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + name;
    DeleteFileW(path.c_str());
    return path;
}

std::wstring readRaw(const std::wstring& ini, const wchar_t* section, const wchar_t* key) {
    wchar_t buffer[256] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", buffer, 256, ini.c_str());
    return buffer;
}

}  // namespace

TEST(ProfileSettings, FreshStartWritesEveryRowWithItsDefault) {
    const std::wstring ini = tempIni(L"kx_fresh.ini");
    Win32ProfileStore store(ini);
    Settings s;
    loadSettings(s, store);
    saveSettings(s, store);
    EXPECT_EQ(readRaw(ini, L"Graph", L"Losstime"), L"3.");
    EXPECT_EQ(readRaw(ini, L"Mechanics", L"Inertia"), L"7.05");
    EXPECT_EQ(readRaw(ini, L"Hardware", L"GapDeviation"), L"0.1");
    EXPECT_EQ(readRaw(ini, L"Speed", L"max"), L"250");
    EXPECT_EQ(readRaw(ini, L"Desktop", L"LastFile"), L"*.kxm");
    EXPECT_EQ(readRaw(ini, L"Supervisor", L"WindowTitle"), L"Kaltrenox");
    // every keyed row is in the file
    for (const SettingDescriptor* row = settingDescriptors(); row->kind != SettingKind::End; ++row)
        if (row->key) {
            EXPECT_NE(readRaw(ini, row->section, row->key), L"<missing>") << row->section << L"/" << row->key;
        }
    DeleteFileW(ini.c_str());
}

TEST(ProfileSettings, MinusOneIsStoredAs65535AndReadsBack) {
    const std::wstring ini = tempIni(L"kx_short.ini");
    Win32ProfileStore store(ini);
    Settings s;
    loadSettings(s, store);
    s.rpmMin = -1;
    saveSettings(s, store);
    EXPECT_EQ(readRaw(ini, L"RPM", L"min"), L"65535");
    Settings back;
    loadSettings(back, store);
    EXPECT_EQ(back.rpmMin, -1);
    DeleteFileW(ini.c_str());
}

TEST(ProfileSettings, BadValuesEmptyHeadlineAndLongStrings) {
    const std::wstring ini = tempIni(L"kx_bad.ini");
    WritePrivateProfileStringW(L"Speed", L"max", L"abc", ini.c_str());
    WritePrivateProfileStringW(L"Graph", L"Losstime", L"viel", ini.c_str());
    WritePrivateProfileStringW(L"Supervisor", L"CmdShow", L"x", ini.c_str());
    WritePrivateProfileStringW(L"Page", L"Headline", L"", ini.c_str());
    WritePrivateProfileStringW(L"Font", L"Name", std::wstring(200, L'A').c_str(), ini.c_str());
    Win32ProfileStore store(ini);
    Settings s;
    loadSettings(s, store);
    completeLoadedSettings(s, portableText);
    EXPECT_EQ(s.speedMax, 0);
    EXPECT_EQ(s.graphLosstime, 0.0);
    EXPECT_EQ(s.supervisorCmdShow, 0);
    EXPECT_EQ(s.pageHeadline, L"Kaltrenox Leistungsermittlung");
    EXPECT_EQ(s.fontName.size(), 127u);
    DeleteFileW(ini.c_str());
}

TEST(ProfileSettings, ProgramWideSettingsLiveBesideTheExecutable) {
    const std::wstring path = settingsFilePath();
    ASSERT_GE(path.size(), 11u);
    EXPECT_EQ(path.substr(path.size() - 11), L"KALTRNX.INI");
    DeleteFileW(path.c_str());
    loadSettings();
    theSettings().recordGear = 3.5;
    saveSettings();
    theSettings().recordGear = 0;
    loadSettings();
    EXPECT_EQ(theSettings().recordGear, 3.5);
    EXPECT_EQ(readRaw(path, L"Record", L"Gear"), L"3.5");
    DeleteFileW(path.c_str());
}
