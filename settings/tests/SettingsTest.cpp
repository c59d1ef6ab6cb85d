#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "IniFileStore.h"
#include "Settings.h"
#include "StringTable.h"

namespace {

// Records every write in order and answers reads from a map.
class MemoryStore : public ProfileStore {
public:
    std::map<std::wstring, std::wstring> values;
    std::vector<std::wstring> writes;

    static std::wstring name(const wchar_t* s, const wchar_t* k) { return std::wstring(s) + L"/" + k; }

    uint32_t getInt(const wchar_t* s, const wchar_t* k, int32_t def) override {
        auto it = values.find(name(s, k));
        return it == values.end() ? uint32_t(def) : uint32_t(std::wcstol(it->second.c_str(), nullptr, 10));
    }
    std::wstring getString(const wchar_t* s, const wchar_t* k, const wchar_t* def, size_t chars) override {
        auto it = values.find(name(s, k));
        std::wstring v = it == values.end() ? std::wstring(def) : it->second;
        if (v.size() > chars - 1) v.resize(chars - 1);
        return v;
    }
    void writeString(const wchar_t* s, const wchar_t* k, const std::wstring& v) override {
        values[name(s, k)] = v;
        writes.push_back(name(s, k) + L"=" + v);
    }
};

std::string tempPath(const char* name) {
    return std::string(::testing::TempDir()) + name;
}

}  // namespace

TEST(Settings, TableHasTheRowsInOrder) {
    const SettingDescriptor* rows = settingDescriptors();
    ASSERT_EQ(settingDescriptorCount(), 57);
    EXPECT_EQ(rows[56].kind, SettingKind::End);
    EXPECT_EQ(rows[6].kind, SettingKind::Gap);
    EXPECT_EQ(rows[6].intDefault, 4);
    EXPECT_STREQ(rows[25].key, L"Losstime");
    EXPECT_EQ(rows[25].kind, SettingKind::Double);
    // the smoothing's choice list sits directly before it, right after the loss time
    EXPECT_EQ(rows[26].kind, SettingKind::Gap);
    EXPECT_EQ(rows[26].textField, &Settings::smoothingChoices);
    EXPECT_STREQ(rows[27].section, L"Graph");
    EXPECT_STREQ(rows[27].key, L"Smoothing");
    EXPECT_EQ(rows[27].kind, SettingKind::Short);
    EXPECT_EQ(rows[27].intDefault, 0);
    EXPECT_STREQ(rows[43].key, L"LastFile");
    EXPECT_STREQ(rows[44].section, L"Desktop");
    EXPECT_STREQ(rows[44].key, L"LastExport");
    EXPECT_EQ(rows[44].kind, SettingKind::String);
    EXPECT_STREQ(rows[52].key, L"CmdShow");
    EXPECT_EQ(rows[52].kind, SettingKind::Long);
    EXPECT_STREQ(rows[55].section, L"Hardware");
    EXPECT_STREQ(rows[55].key, L"GapDeviation");
    int gaps = 0;
    for (int i = 0; i < 56; ++i) gaps += rows[i].kind == SettingKind::Gap;
    EXPECT_EQ(gaps, 9);
}

TEST(Settings, FreshStartGivesDefaultsAndWritesEveryRow) {
    MemoryStore store;
    Settings s;
    s.speedMax = 1;  // must be overwritten by the default
    loadSettings(s, store);
    EXPECT_EQ(s.speedMax, 250);
    EXPECT_EQ(s.rpmMax, 8000);
    EXPECT_EQ(s.hardwarePulseCount, 15);
    EXPECT_EQ(s.graphLosstime, 3.0);
    EXPECT_EQ(s.mechanicsInertia, 7.05);
    EXPECT_EQ(s.hardwareGapDeviation, 0.1);
    EXPECT_EQ(s.fontName, L"Arial");
    EXPECT_EQ(s.desktopLastFile, L"*.kxm");
    EXPECT_EQ(s.supervisorWindowTitle, L"Kaltrenox");
    EXPECT_EQ(s.pageHeadline, L"");

    saveSettings(s, store);
    ASSERT_EQ(store.writes.size(), 47u);  // 56 rows less 9 gaps
    EXPECT_EQ(store.writes.front(), L"Speed/min=0");
    EXPECT_EQ(store.writes.back(), L"Hardware/GapDeviation=0.1");
    EXPECT_EQ(store.values[L"Graph/Losstime"], L"3.");
    EXPECT_EQ(store.values[L"Mechanics/Inertia"], L"7.05");
    EXPECT_EQ(store.values[L"Mechanics/Wheel"], L"1.25");
    EXPECT_EQ(store.values[L"Supervisor/CmdShow"], L"0");
    EXPECT_EQ(store.values[L"Graph/Smoothing"], L"0");
    EXPECT_EQ(store.values[L"Desktop/LastExport"], L"");
}

TEST(Settings, ShortsAreWrittenUnsignedAndReadBackSigned) {
    MemoryStore store;
    Settings s;
    loadSettings(s, store);
    s.speedMin = -1;
    s.supervisorCmdShow = 0x20000000;
    saveSettings(s, store);
    EXPECT_EQ(store.values[L"Speed/min"], L"65535");
    EXPECT_EQ(store.values[L"Supervisor/CmdShow"], L"536870912");
    Settings back;
    loadSettings(back, store);
    EXPECT_EQ(back.speedMin, -1);
    EXPECT_EQ(back.supervisorCmdShow, 0x20000000);
}

TEST(Settings, CompletionFillsChoicesAndEmptyTitles) {
    MemoryStore store;
    Settings s;
    loadSettings(s, store);
    s.recordComment = L"old";
    completeLoadedSettings(s, portableText);
    EXPECT_EQ(s.correctionChoices, L"unkorrigiert|DIN 70020|ISO 1585");
    EXPECT_EQ(s.smoothingChoices, L"normal (75 ms)|mittel (150 ms)|stark (300 ms)");
    EXPECT_EQ(s.resumeModeChoices, L"Nur abspeichern|In neuem Fenster öffnen|In aktuellem Fenster öffnen");
    EXPECT_EQ(s.pulseCountChoices, L"1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16");
    EXPECT_EQ(s.pageHeadline, L"Kaltrenox Leistungsermittlung");
    EXPECT_EQ(s.timeFormat, L"erstellt am %d.%m.%Y um %H:%M Uhr");
    EXPECT_EQ(s.recordComment, L"");

    s.pageHeadline = L"Werkstatt Müller";
    completeLoadedSettings(s, portableText);
    EXPECT_EQ(s.pageHeadline, L"Werkstatt Müller");
}

TEST(IniFileStore, BehavesLikeTheProfileFunctions) {
    const std::string path = tempPath("kx_ini_test.ini");
    std::remove(path.c_str());
    {
        std::ofstream out(path, std::ios::binary);
        out << "[Speed]\r\nmin = 12 \r\nmax=abc\r\n[Page]\r\nHeadline=\"Quoted\"\r\n[font]\r\nNAME=" << std::string(200, 'x')
            << "\r\n";
    }
    IniFileStore store(path);
    EXPECT_TRUE(store.wasRead());
    EXPECT_EQ(store.getInt(L"Speed", L"min", 5), 12u);
    EXPECT_EQ(store.getInt(L"Speed", L"max", 5), 0u);       // no number reads 0
    EXPECT_EQ(store.getInt(L"Speed", L"none", 5), 5u);      // missing reads the default
    EXPECT_EQ(store.getString(L"Page", L"Headline", L"", 128), L"Quoted");
    EXPECT_EQ(store.getString(L"Font", L"Name", L"", 128).size(), 127u);  // sections and keys ignore case

    Settings s;
    loadSettings(s, store);
    EXPECT_EQ(s.speedMin, 12);
    EXPECT_EQ(s.speedMax, 0);
    EXPECT_EQ(s.fontName.size(), 127u);
    s.graphLosstime = 4.5;
    s.graphSmoothing = 2;
    s.desktopLastExport = L"C:\\Messungen\\Kunde-0001.png";
    saveSettings(s, store);

    IniFileStore again(path);
    Settings back;
    loadSettings(back, again);
    EXPECT_EQ(back.graphLosstime, 4.5);
    EXPECT_EQ(back.graphSmoothing, 2);
    EXPECT_EQ(back.desktopLastExport, L"C:\\Messungen\\Kunde-0001.png");
    EXPECT_EQ(back.speedMin, 12);
    std::remove(path.c_str());
}
