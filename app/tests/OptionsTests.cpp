// The options notebook, the weather calibration and the evaluation settings
// of a diagram window, opened from the program's own templates and driven
// through their message loops: pages and layout, what is shown and stored,
// the validation of the gauge ranges, the enabling rules, the live weather,
// the calibration that outlives a cancel, and the serial link reopened after
// the options whatever their result.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include "Correction.h"
#include "DialogScript.h"
#include "EvaluationOptions.h"
#include "LayoutCheck.h"
#include "Notebook.h"
#include "Options.h"
#include "SerialLink.h"
#include "Settings.h"
#include "TestHelpers.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "WeatherDlg.h"
#include "resource.h"

namespace {

const wchar_t kOptionsTitle[] = L"Optionen";
const wchar_t kWeatherTitle[] = L"Abgleich Wetter";
const wchar_t kCorrectionTitle[] = L"Einstellungen";

enum Page { kKommentar, kAnzeige, kErfassung, kWetter, kSeite, kAuswertung };

struct PageSpec {
    const wchar_t* tab;
    const wchar_t* screenshot;
    std::vector<int> fields;             // exchanged controls and buttons, in tab order
    std::vector<std::wstring> labels;    // texts the page shows
};

const std::vector<PageSpec>& Pages() {
    static const std::vector<PageSpec> pages = {
        {L"Kommentar", L"config-kommentar.png", {IDC_PERIOD, IDC_START_VAL, IDC_START_MODE, IDC_COMMENT},
         {L"Meßdauer:", L"sec", L"Start bei:"}},
        {L"Anzeige", L"config-anzeige.png", {IDC_SPEED_MIN, IDC_SPEED_MAX, IDC_RPM_MIN, IDC_RPM_MAX},
         {L"min. Geschw.:", L"max. Geschw.:", L"min. Drehzahl:", L"max. Drehzahl:"}},
        {L"Erfassung", L"config-erfassung.png", {IDC_RELATION, IDC_COM_PORT, IDC_GEAR, IDC_GEAR_AUTO, IDC_RESUME_MODE},
         {L"Impulse/ Umdreh.:", L"COM Port:", L"Untersetzung", L"auto"}},
        {L"Wetter", L"config-wetter.png",
         {IDC_TEMPERATURE, IDC_PRESSURE, IDC_HUMIDITY, IDC_WEATHER_AUTO, IDC_WEATHER_ADJUST},
         {L"Temperatur(°C):", L"Luftdruck(mBar):", L"rel.Feuchte(%):", L"automatisch", L"Abgleich..."}},
        {L"Seite", L"config-seite.png",
         {IDC_BORDER_LEFT, IDC_BORDER_TOP, IDC_BORDER_RIGHT, IDC_BORDER_BOTTOM, IDC_HEADLINE, IDC_FONT_NAME,
          IDC_FONT_HEIGHT},
         {L"Ränder", L"links:", L"oben:", L"rechts:", L"unten:", L"Überschrift:", L"Schriftart:", L"Größe:"}},
        {L"Auswertung", L"config-auswertung.png",
         {IDC_POWER_MODE, IDC_POWER_UNIT, IDC_CORRECTION, IDC_LOSSTIME, IDC_SMOOTHING},
         {L"Leistung am", L"in", L"Korrektur:", L"Zeit nach Maximum:", L"Glättung:"}},
    };
    return pages;
}

void ShowPage(HWND dialog, int page) {
    SendMessageW(NotebookTab(dialog, page), BM_CLICK, 0, 0);
}

// The page's own controls: everything visible except the tabs, the page
// frame and the dialog's buttons.
std::vector<HWND> PageControls(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND control : VisibleControls(dialog)) {
        int id = GetDlgCtrlID(control);
        bool tab = id >= kNotebookTabFirstId && id <= kNotebookTabLastId;
        if (!tab && id != kNotebookFrameId && id != IDOK && id != IDCANCEL) controls.push_back(control);
    }
    return controls;
}

// Tab order runs row by row from top to bottom, left to right within a row.
std::vector<std::string> TabOrderFaults(const std::vector<HWND>& controls) {
    std::vector<std::string> faults;
    HWND previous = nullptr;
    for (HWND control : controls) {
        if (!(GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP)) continue;
        if (previous) {
            RECT a = ChildRect(previous), b = ChildRect(control);
            bool sameRow = b.top - a.top <= 3 && a.top - b.top <= 3;
            bool after = sameRow ? b.left > a.left : b.top > a.top;
            if (!after)
                faults.push_back(std::to_string(GetDlgCtrlID(previous)) + " before " +
                                 std::to_string(GetDlgCtrlID(control)));
        }
        previous = control;
    }
    return faults;
}

template <class T>
std::string Lines(const std::vector<T>& items) {
    std::string text;
    for (const auto& item : items) text += "\n  " + item;
    return text;
}

void ExpectFinishedLayout(const std::vector<HWND>& controls, const RECT& area, const std::string& where) {
    EXPECT_TRUE(ClippedTexts(controls).empty()) << where << ": cut off" << Lines(ClippedTexts(controls));
    EXPECT_TRUE(Overlaps(controls).empty()) << where << ": overlapping" << Lines(Overlaps(controls));
    EXPECT_TRUE(OutsideOf(controls, area).empty()) << where << ": outside" << Lines(OutsideOf(controls, area));
    EXPECT_TRUE(TabOrderFaults(controls).empty()) << where << ": tab order" << Lines(TabOrderFaults(controls));
}

RECT ClientScreenRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int16_t PortFromEnvironment(const char* name, int which = 0) {
    const char* text = std::getenv(name);
    if (!text) return 0;
    std::istringstream in(text);
    int port = 0;
    for (int i = 0; i <= which; ++i) in >> port;
    return static_cast<int16_t>(port);
}

struct Collected : ByteConsumer {
    std::vector<uint8_t> bytes;
    void feedByte(uint8_t byte) override { bytes.push_back(byte); }
};

// What arrives at `link` until `count` bytes are there (at most five seconds).
std::vector<uint8_t> ReceiveBytes(SerialLink& link, size_t count) {
    Collected collected;
    for (int i = 0; i < 500 && collected.bytes.size() < count; ++i) {
        link.drain(collected);
        if (collected.bytes.size() < count) Sleep(10);
    }
    return collected.bytes;
}

RECT ScreenRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        theSettings().recordComment = L"Golf GTI, 4. Gang\r\nÖlwechsel vor der Messung, Reifendruck 2,5 bar";
        theSettings().pageHeadline = L"Kaltrenox Leistungsermittlung";
        theSettings().fontName = L"Arial";  // as a fresh start reads it
    }
    void TearDown() override { ResetSettings(); }
};

}  // namespace

TEST_F(OptionsTest, SixPagesShowTheirFieldsAndLabelsInAFinishedLayout) {
    DialogScript script({{kOptionsTitle, [](HWND dialog) {
        EXPECT_EQ(CheckedTabs(dialog), std::vector<int>{kKommentar}) << "the first page opens";
        RECT frame = ScreenRectOf(GetDlgItem(dialog, kNotebookFrameId));
        for (int page = 0; page < 6; ++page) {
            const PageSpec& spec = Pages()[page];
            std::string where = Narrow(spec.tab);
            EXPECT_EQ(WindowTextOf(NotebookTab(dialog, page)), spec.tab);
            ShowPage(dialog, page);
            EXPECT_EQ(CheckedTabs(dialog), std::vector<int>{page}) << where;

            std::vector<HWND> controls = PageControls(dialog);
            std::set<int> shownIds;
            std::set<std::wstring> shownTexts;
            for (HWND control : controls) {
                shownIds.insert(GetDlgCtrlID(control));
                shownTexts.insert(WindowTextOf(control));
            }
            for (int id : spec.fields) EXPECT_TRUE(shownIds.count(id)) << where << ": control " << id;
            for (const std::wstring& label : spec.labels)
                EXPECT_TRUE(shownTexts.count(label)) << where << ": label " << Narrow(label);
            // the fields of the other pages are hidden
            for (int other = 0; other < 6; ++other) {
                if (other == page) continue;
                for (int id : Pages()[other].fields) {
                    if (!shownIds.count(id)) {
                        EXPECT_FALSE(IsVisible(dialog, id)) << where << ": " << id;
                    }
                }
            }

            ExpectFinishedLayout(controls, frame, where);
            EXPECT_TRUE(SaveWindowImage(dialog, spec.screenshot)) << where;
        }
        // the tabs and the buttons share the column right of the page
        std::vector<HWND> column;
        for (int page = 0; page < 6; ++page) column.push_back(NotebookTab(dialog, page));
        column.push_back(GetDlgItem(dialog, IDOK));
        column.push_back(GetDlgItem(dialog, IDCANCEL));
        EXPECT_TRUE(Overlaps(column).empty()) << Lines(Overlaps(column));
        EXPECT_TRUE(OutsideOf(column, ClientScreenRect(dialog)).empty());
        EXPECT_EQ(WindowTextOf(dialog), L"Optionen");
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }}});
    EXPECT_EQ(runOptions(nullptr), IDCANCEL);
    EXPECT_TRUE(script.finished()) << script.failure();
}

TEST_F(OptionsTest, TheFieldsShowTheSettingsInTheProgramsFormats) {
    Settings& s = theSettings();
    s.hardwareComPort = 2;
    s.recordGear = 3.25;
    s.graphLosstime = 0.05;
    s.weatherAuto = 0;
    s.recordGearAuto = 0;
    s.bordersLeft = -1;  // a 16-bit value shows unsigned
    s.graphCorrection = 2;
    s.graphSmoothing = 1;
    s.recordResumeMode = 2;
    DialogScript script({{kOptionsTitle, [](HWND dialog) {
        struct Shown {
            int id;
            const wchar_t* text;
        };
        const Shown shown[] = {
            {IDC_SPEED_MIN, L"0"},       {IDC_SPEED_MAX, L"250"},   {IDC_RPM_MIN, L"0"},
            {IDC_RPM_MAX, L"8000"},      {IDC_PERIOD, L"20"},       {IDC_START_VAL, L"2000"},
            {IDC_BORDER_LEFT, L"65535"}, {IDC_BORDER_TOP, L"23"},   {IDC_BORDER_RIGHT, L"24"},
            {IDC_BORDER_BOTTOM, L"25"},  {IDC_HEADLINE, L"Kaltrenox Leistungsermittlung"},
            {IDC_FONT_NAME, L"Arial"},   {IDC_FONT_HEIGHT, L"45"},  {IDC_TEMPERATURE, L"25"},
            {IDC_PRESSURE, L"990"},      {IDC_HUMIDITY, L"50"},     {IDC_LOSSTIME, L"5.e-002"},
            {IDC_COM_PORT, L"2"},        {IDC_GEAR, L"3.25"},
            {IDC_COMMENT, L"Golf GTI, 4. Gang\r\nÖlwechsel vor der Messung, Reifendruck 2,5 bar"},
        };
        for (const Shown& c : shown) EXPECT_EQ(ControlText(dialog, c.id), c.text) << "control " << c.id;

        struct Choice {
            int id;
            std::vector<std::wstring> items;
            const wchar_t* selected;
        };
        const Choice choices[] = {
            {IDC_START_MODE, {L"U/min", L"km/h"}, L"U/min"},
            {IDC_POWER_MODE, {L"Motor", L"Achse"}, L"Motor"},
            {IDC_POWER_UNIT, {L"PS", L"kW"}, L"PS"},
            {IDC_CORRECTION, {L"unkorrigiert", L"DIN 70020", L"ISO 1585"}, L"ISO 1585"},
            {IDC_SMOOTHING, {L"normal (75 ms)", L"mittel (150 ms)", L"stark (300 ms)"}, L"mittel (150 ms)"},
            {IDC_RELATION, {L"1:2", L"1:1", L"2:1"}, L"1:1"},
            {IDC_RESUME_MODE, {L"Nur abspeichern", L"In neuem Fenster öffnen", L"In aktuellem Fenster öffnen"},
             L"In aktuellem Fenster öffnen"},
        };
        for (const Choice& c : choices) {
            EXPECT_EQ(ComboItems(dialog, c.id), c.items) << "control " << c.id;
            EXPECT_EQ(ComboSelection(dialog, c.id), c.selected) << "control " << c.id;
        }
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WEATHER_AUTO), BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_GEAR_AUTO), BST_UNCHECKED);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }}});
    EXPECT_EQ(runOptions(nullptr), IDCANCEL);
    EXPECT_TRUE(script.finished()) << script.failure();
}

TEST_F(OptionsTest, OkStoresEveryFieldOfThePages) {
    DialogScript script({{kOptionsTitle, [](HWND dialog) {
        struct Typed {
            int id;
            const wchar_t* text;
        };
        const Typed typed[] = {
            {IDC_SPEED_MIN, L"10"},       {IDC_SPEED_MAX, L"300"},   {IDC_RPM_MIN, L"500"},
            {IDC_RPM_MAX, L"9000"},       {IDC_PERIOD, L"30"},       {IDC_START_VAL, L"40"},
            {IDC_BORDER_LEFT, L"-5"},     {IDC_BORDER_TOP, L"11"},   {IDC_BORDER_RIGHT, L"12"},
            {IDC_BORDER_BOTTOM, L"13"},   {IDC_HEADLINE, L"Prüfstand Nord"},
            {IDC_FONT_NAME, L"Times New Roman"}, {IDC_FONT_HEIGHT, L"50"},
            {IDC_LOSSTIME, L"2.5"},       {IDC_COM_PORT, L"12"},     {IDC_COMMENT, L"Zweiter Lauf"},
        };
        for (const Typed& t : typed) SetControlText(dialog, t.id, t.text);
        // weather typed by hand: "automatisch" off first
        ShowPage(dialog, kWetter);
        SendDlgItemMessageW(dialog, IDC_WEATHER_AUTO, BM_CLICK, 0, 0);
        SetControlText(dialog, IDC_TEMPERATURE, L"18");
        SetControlText(dialog, IDC_PRESSURE, L"1002");
        SetControlText(dialog, IDC_HUMIDITY, L"61");
        ShowPage(dialog, kErfassung);
        SendDlgItemMessageW(dialog, IDC_GEAR_AUTO, BM_CLICK, 0, 0);
        SetControlText(dialog, IDC_GEAR, L"2.75");
        ChooseComboItem(dialog, IDC_RELATION, 2);
        ChooseComboItem(dialog, IDC_RESUME_MODE, 0);
        ChooseComboItem(dialog, IDC_START_MODE, 1);
        ChooseComboItem(dialog, IDC_POWER_MODE, 1);
        ChooseComboItem(dialog, IDC_POWER_UNIT, 1);
        ChooseComboItem(dialog, IDC_CORRECTION, 1);
        ChooseComboItem(dialog, IDC_SMOOTHING, 2);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    }}});
    EXPECT_EQ(runOptions(nullptr), IDOK);
    EXPECT_TRUE(script.finished()) << script.failure();
    const Settings& s = theSettings();
    struct Stored {
        const char* name;
        int value, expected;
    };
    const Stored stored[] = {
        {"Speed/min", s.speedMin, 10},        {"Speed/max", s.speedMax, 300},
        {"RPM/min", s.rpmMin, 500},           {"RPM/max", s.rpmMax, 9000},
        {"Record/Period", s.recordPeriod, 30}, {"Record/StartVal", s.recordStartVal, 40},
        {"Record/StartMode", s.recordStartMode, 1}, {"Borders/left", s.bordersLeft, -5},
        {"Borders/top", s.bordersTop, 11},    {"Borders/right", s.bordersRight, 12},
        {"Borders/bottom", s.bordersBottom, 13}, {"Font/Height", s.fontHeight, 50},
        {"Weather/Temperature", s.weatherTemperature, 18}, {"Weather/Pressure", s.weatherPressure, 1002},
        {"Weather/Humidity", s.weatherHumidity, 61}, {"Weather/Auto", s.weatherAuto, 0},
        {"Graph/PowerMode", s.graphPowerMode, 1}, {"Graph/PowerUnit", s.graphPowerUnit, 1},
        {"Graph/Correction", s.graphCorrection, 1}, {"Graph/Smoothing", s.graphSmoothing, 2},
        {"Record/Relation", s.recordRelation, 2},
        {"Hardware/ComPort", s.hardwareComPort, 12}, {"Record/GearAuto", s.recordGearAuto, 0},
        {"Record/ResumeMode", s.recordResumeMode, 0},
    };
    for (const Stored& f : stored) EXPECT_EQ(f.value, f.expected) << f.name;
    EXPECT_EQ(s.pageHeadline, L"Prüfstand Nord");
    EXPECT_EQ(s.fontName, L"Times New Roman");
    EXPECT_EQ(s.recordComment, L"Zweiter Lauf");
    EXPECT_EQ(s.graphLosstime, 2.5);
    EXPECT_EQ(s.recordGear, 2.75);
    EXPECT_EQ(s.correctionChoices, L"unkorrigiert|DIN 70020|ISO 1585") << "the choice lists stay";
    EXPECT_EQ(s.weatherHumidity1, 0.0) << "the calibration is not the options' to store";
}

// The gauges' ranges: each case types the four limits and presses OK on the
// first page; a refused range opens "Anzeige" with the offending field
// focused and leaves the settings alone.
TEST_F(OptionsTest, GaugeRangesAreValidatedAndARefusalOpensTheAnzeigePage) {
    struct Case {
        const wchar_t *speedMin, *speedMax, *rpmMin, *rpmMax;
        int refusedAt;  // 0: accepted
    };
    const Case cases[] = {
        {L"0", L"0", L"0", L"8000", IDC_SPEED_MIN},          // minimum not below maximum
        {L"10001", L"20000", L"0", L"8000", IDC_SPEED_MIN},  // minimum beyond 10000
        {L"250", L"250", L"0", L"8000", IDC_SPEED_MIN},
        {L"10000", L"10001", L"0", L"8000", 0},
        {L"0", L"250", L"30000", L"30001", 0},
        {L"0", L"250", L"30001", L"40000", IDC_RPM_MIN},     // minimum beyond 30000
        {L"0", L"250", L"8000", L"8000", IDC_RPM_MIN},
        {L"0", L"250", L"1000", L"40000", 0},                // 40000 compares unsigned
        {L"0", L"65535", L"0", L"8000", 0},
        {L"0", L"-1", L"0", L"8000", 0},                     // -1 is 65535
        {L"abc", L"250", L"0", L"8000", 0},                  // no number reads as 0
        {L"10001", L"0", L"30001", L"0", IDC_SPEED_MIN},     // the first failing rule wins
    };
    for (const Case& c : cases) {
        SetUp();
        std::string what = Narrow(std::wstring(c.speedMin) + L"/" + c.speedMax + L" km/h, " + c.rpmMin + L"/" +
                                  c.rpmMax + L" U/min");
        DialogScript script({{kOptionsTitle, [&](HWND dialog) {
            SetControlText(dialog, IDC_SPEED_MIN, c.speedMin);
            SetControlText(dialog, IDC_SPEED_MAX, c.speedMax);
            SetControlText(dialog, IDC_RPM_MIN, c.rpmMin);
            SetControlText(dialog, IDC_RPM_MAX, c.rpmMax);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            if (!c.refusedAt) return;
            EXPECT_TRUE(IsWindowVisible(dialog)) << what << ": stays open";
            EXPECT_EQ(CheckedTabs(dialog), std::vector<int>{kAnzeige}) << what;
            EXPECT_TRUE(IsVisible(dialog, c.refusedAt)) << what;
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, c.refusedAt)) << what;
            EXPECT_EQ(theSettings().speedMax, 250) << what << ": nothing stored";
            EXPECT_EQ(theSettings().rpmMax, 8000) << what << ": nothing stored";
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }}});
        INT_PTR result = runOptions(nullptr);
        EXPECT_TRUE(script.finished()) << what << ": " << script.failure();
        if (c.refusedAt) {
            EXPECT_EQ(result, IDCANCEL) << what;
            EXPECT_EQ(theSettings().speedMin, 0) << what;
        } else {
            EXPECT_EQ(result, IDOK) << what;
            EXPECT_EQ(theSettings().rpmMax, static_cast<int16_t>(_wtoi(c.rpmMax))) << what;
        }
    }
}

// The wrapper script puts two COM ports on the ends of one pseudo-terminal
// pair and leaves a third unmapped; a byte written through the program's link
// arrives at the far end only when the link is open on the near one.
TEST_F(OptionsTest, TheSerialLinkIsReopenedOnTheSettingsPortWhateverTheResult) {
    const int16_t nearPort = PortFromEnvironment("KX_LOOP_PORTS", 0);
    const int16_t farPort = PortFromEnvironment("KX_LOOP_PORTS", 1);
    const int16_t missingPort = PortFromEnvironment("KX_MISSING_PORT");
    ASSERT_GT(nearPort, 0) << "KX_LOOP_PORTS is not set: run the tests through dialog_wine_test.sh";
    ASSERT_GT(farPort, 0);
    ASSERT_GT(missingPort, 0) << "KX_MISSING_PORT is not set";
    SerialLink farEnd;
    farEnd.open(farPort);
    ASSERT_TRUE(farEnd.isOpen()) << "COM" << farPort;

    struct Case {
        const char* what;
        int16_t settingsPort;   // Hardware/ComPort before
        int16_t openBefore;     // where the link was opened before (it may have failed)
        const char* close;      // "OK", "Abbruch" or "Systemmenü"
        int16_t typedPort;
        int16_t expectedPort;   // Hardware/ComPort after
        bool expectOpen;        // the link is open on the near end afterwards
    };
    const Case cases[] = {
        {"cancel reopens a link that was lost", nearPort, missingPort, "Abbruch", missingPort, nearPort, true},
        {"closing with the system menu too", nearPort, missingPort, "Systemmenü", missingPort, nearPort, true},
        {"OK opens the new port", missingPort, missingPort, "OK", nearPort, nearPort, true},
        {"OK with a missing port closes the link", nearPort, nearPort, "OK", missingPort, missingPort, false},
        {"cancel on the same port reopens it", nearPort, nearPort, "Abbruch", missingPort, nearPort, true},
    };
    for (const Case& c : cases) {
        SetUp();
        theSettings().hardwareComPort = c.settingsPort;
        theSerialLink().open(c.openBefore);
        const bool openBefore = theSerialLink().isOpen();
        ASSERT_EQ(openBefore, c.openBefore == nearPort) << c.what;
        const std::string close = c.close;
        DialogScript script({{kOptionsTitle, [&](HWND dialog) {
            EXPECT_EQ(theSerialLink().isOpen(), openBefore) << c.what << ": untouched while the dialog runs";
            SetControlText(dialog, IDC_COM_PORT, std::to_wstring(c.typedPort));
            if (close == "Systemmenü")
                PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
                PostMessageW(dialog, WM_COMMAND, close == "OK" ? IDOK : IDCANCEL, 0);
        }}});
        EXPECT_EQ(runOptions(nullptr), close == "OK" ? IDOK : IDCANCEL) << c.what;
        EXPECT_TRUE(script.finished()) << c.what << ": " << script.failure();
        EXPECT_EQ(theSettings().hardwareComPort, c.expectedPort) << c.what;
        EXPECT_EQ(theSerialLink().isOpen(), c.expectOpen) << c.what;
        if (c.expectOpen) {
            const uint8_t probe = static_cast<uint8_t>(0x40 + (&c - cases));
            EXPECT_TRUE(theSerialLink().writeByte(probe)) << c.what;
            EXPECT_EQ(ReceiveBytes(farEnd, 1), std::vector<uint8_t>{probe}) << c.what << ": arrives at COM" << farPort;
        }
    }
    theSerialLink().close();
}

TEST_F(OptionsTest, AutoAndAutomatischDisableTheirFieldsAndTheWeatherFollowsTheSettings) {
    Settings& s = theSettings();
    s.weatherAuto = 1;
    s.recordGearAuto = 1;
    DialogScript script({{kOptionsTitle, [&s](HWND dialog) {
        auto* options = static_cast<COptions*>(ObjectFromWindow(dialog));
        ASSERT_NE(options, nullptr);
        // on opening, from the settings
        EXPECT_FALSE(IsEnabled(dialog, IDC_GEAR));
        for (int id : {IDC_TEMPERATURE, IDC_PRESSURE, IDC_HUMIDITY}) EXPECT_FALSE(IsEnabled(dialog, id)) << id;
        EXPECT_TRUE(options->liveWeather);

        // the controller's readings arrive in the settings; each tick shows them
        ShowPage(dialog, kWetter);
        s.weatherTemperature = 31;
        s.weatherPressure = 1008;
        s.weatherHumidity = 77;
        SendMessageW(dialog, WM_TIMER, COptions::kWeatherTimer, 0);
        EXPECT_EQ(ControlText(dialog, IDC_TEMPERATURE), L"31");
        EXPECT_EQ(ControlText(dialog, IDC_PRESSURE), L"1008");
        EXPECT_EQ(ControlText(dialog, IDC_HUMIDITY), L"77");
        EXPECT_TRUE(SaveWindowImage(dialog, L"config-wetter-automatisch.png"));

        // the dialog's own timer does the same
        s.weatherTemperature = 32;
        DWORD start = GetTickCount();
        while (ControlText(dialog, IDC_TEMPERATURE) != L"32" && GetTickCount() - start < 5000) {
            PumpMessages();
            Sleep(10);
        }
        EXPECT_EQ(ControlText(dialog, IDC_TEMPERATURE), L"32") << "the weather timer runs";
        s.weatherTemperature = -5;  // a winter morning
        SendMessageW(dialog, WM_TIMER, COptions::kWeatherTimer, 0);
        EXPECT_EQ(ControlText(dialog, IDC_TEMPERATURE), L"-5");

        // unticked: the fields are the user's
        SendDlgItemMessageW(dialog, IDC_WEATHER_AUTO, BM_CLICK, 0, 0);
        EXPECT_FALSE(options->liveWeather);
        for (int id : {IDC_TEMPERATURE, IDC_PRESSURE, IDC_HUMIDITY}) EXPECT_TRUE(IsEnabled(dialog, id)) << id;
        SetControlText(dialog, IDC_TEMPERATURE, L"19");
        s.weatherTemperature = 35;
        SendMessageW(dialog, WM_TIMER, COptions::kWeatherTimer, 0);
        EXPECT_EQ(ControlText(dialog, IDC_TEMPERATURE), L"19");
        EXPECT_FALSE(IsEnabled(dialog, IDC_GEAR)) << "\"automatisch\" leaves the gear alone";

        // "auto" on the page "Erfassung"
        ShowPage(dialog, kErfassung);
        SendDlgItemMessageW(dialog, IDC_GEAR_AUTO, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsEnabled(dialog, IDC_GEAR));
        EXPECT_TRUE(IsEnabled(dialog, IDC_TEMPERATURE)) << "\"auto\" leaves the weather alone";
        SendDlgItemMessageW(dialog, IDC_GEAR_AUTO, BM_CLICK, 0, 0);
        EXPECT_FALSE(IsEnabled(dialog, IDC_GEAR));

        // ticked again: disabled and following the settings at once on the next tick
        ShowPage(dialog, kWetter);
        SendDlgItemMessageW(dialog, IDC_WEATHER_AUTO, BM_CLICK, 0, 0);
        EXPECT_FALSE(IsEnabled(dialog, IDC_TEMPERATURE));
        SendMessageW(dialog, WM_TIMER, COptions::kWeatherTimer, 0);
        EXPECT_EQ(ControlText(dialog, IDC_TEMPERATURE), L"35");
        s.weatherTemperature = 36;  // arrives after the last look: OK stores what the field shows
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    }}});
    EXPECT_EQ(runOptions(nullptr), IDOK);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_EQ(s.weatherTemperature, 35);
    EXPECT_EQ(s.weatherAuto, 1);
}

TEST_F(OptionsTest, TheWeatherTimerStopsWithTheDialog) {
    HWND options = nullptr;
    DialogScript script({{kOptionsTitle, [&options](HWND dialog) {
        options = dialog;
        EXPECT_TRUE(KillTimer(dialog, COptions::kWeatherTimer)) << "started on opening";
        SetTimer(dialog, COptions::kWeatherTimer, COptions::kWeatherPeriodMs, nullptr);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }}});
    runOptions(nullptr);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_FALSE(IsWindow(options));
    PumpMessages();  // a live timer of a destroyed window would crash here
}

TEST_F(OptionsTest, TheWeatherCalibrationIsStoredAtOnceAndSurvivesCancellingTheOptions) {
    DialogScript script({
        {kOptionsTitle,
         [](HWND dialog) {
             ShowPage(dialog, kWetter);
             ClickButton(dialog, IDC_WEATHER_ADJUST);  // returns when the calibration is closed
             EXPECT_EQ(theSettings().weatherHumidity1, 2.5) << "stored before the options close";
             PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
         }},
        {kWeatherTitle,
         [](HWND dialog) {
             struct Shown {
                 int id;
                 const wchar_t* text;
             };
             const Shown shown[] = {{IDC_HUMIDITY1, L"0."}, {IDC_HUMIDITY2, L"1."}, {IDC_TEMPER1, L"0."},
                                    {IDC_TEMPER2, L"1."},   {IDC_PRESSURE1, L"0."}, {IDC_PRESSURE2, L"1."}};
             for (const Shown& c : shown) EXPECT_EQ(ControlText(dialog, c.id), c.text) << "control " << c.id;
             const wchar_t* const labels[] = {L"Luftfeuchtigkeit 1:", L"Luftfeuchtigkeit 2:", L"Temperatur 1:",
                                              L"Temperatur 2:",       L"Luftdruck 1:",        L"Luftdruck 2:"};
             std::vector<std::wstring> texts = ChildTexts(dialog);
             for (const wchar_t* label : labels)
                 EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << Narrow(label);
             ExpectFinishedLayout(VisibleControls(dialog), ClientScreenRect(dialog), "WEATHERDLG");
             EXPECT_TRUE(SaveWindowImage(dialog, L"weatherdlg.png"));
             SetControlText(dialog, IDC_HUMIDITY1, L"2.5");
             SetControlText(dialog, IDC_HUMIDITY2, L"0.4");
             SetControlText(dialog, IDC_TEMPER1, L"-40");
             SetControlText(dialog, IDC_TEMPER2, L"0.5");
             SetControlText(dialog, IDC_PRESSURE1, L"12");
             SetControlText(dialog, IDC_PRESSURE2, L"4.e+000");
             SendMessageW(dialog, WM_COMMAND, IDOK, 0);
         }},
    });
    EXPECT_EQ(runOptions(nullptr), IDCANCEL);
    EXPECT_TRUE(script.finished()) << script.failure();
    const Settings& s = theSettings();
    EXPECT_EQ(s.weatherHumidity1, 2.5);
    EXPECT_EQ(s.weatherHumidity2, 0.4);
    EXPECT_EQ(s.weatherTemper1, -40.0);
    EXPECT_EQ(s.weatherTemper2, 0.5);
    EXPECT_EQ(s.weatherPressure1, 12.0);
    EXPECT_EQ(s.weatherPressure2, 4.0);
}

TEST_F(OptionsTest, CancellingTheWeatherCalibrationStoresNothing) {
    DialogScript script({
        {kOptionsTitle,
         [](HWND dialog) {
             ShowPage(dialog, kWetter);
             ClickButton(dialog, IDC_WEATHER_ADJUST);
             PostMessageW(dialog, WM_COMMAND, IDOK, 0);
         }},
        {kWeatherTitle,
         [](HWND dialog) {
             SetControlText(dialog, IDC_TEMPER2, L"9");
             SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
         }},
    });
    EXPECT_EQ(runOptions(nullptr), IDOK);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_EQ(theSettings().weatherTemper2, 1.0);
}

TEST(Correction, ShowsAndStoresTheEvaluationChoicesOfADiagramWindow) {
    ResetSettings();
    struct Case {
        const char* what;
        int button;
        uint16_t powerMode, correction;
        double lossTime;
        uint16_t smoothing;
    };
    const Case cases[] = {
        {"OK", IDOK, kPowerAtAxle, 2, 4.5, 2},
        {"cancel", IDCANCEL, kPowerAtEngine, 1, 3.0, 1},
    };
    for (const Case& c : cases) {
        EvaluationOptions options = evaluationOptionsFromSettings(theSettings());
        options.correction = 1;
        options.smoothing = 1;
        DialogScript script({{kCorrectionTitle, [&](HWND dialog) {
            EXPECT_EQ(ComboItems(dialog, IDC_POWER_MODE), (std::vector<std::wstring>{L"Motor", L"Achse"})) << c.what;
            EXPECT_EQ(ComboSelection(dialog, IDC_POWER_MODE), L"Motor") << c.what;
            EXPECT_EQ(ComboItems(dialog, IDC_CORRECTION),
                      (std::vector<std::wstring>{L"unkorrigiert", L"DIN 70020", L"ISO 1585"}))
                << c.what;
            EXPECT_EQ(ComboSelection(dialog, IDC_CORRECTION), L"DIN 70020") << c.what;
            EXPECT_EQ(ControlText(dialog, IDC_LOSSTIME), L"3.") << c.what;
            EXPECT_EQ(ComboItems(dialog, IDC_SMOOTHING),
                      (std::vector<std::wstring>{L"normal (75 ms)", L"mittel (150 ms)", L"stark (300 ms)"}))
                << c.what;
            EXPECT_EQ(ComboSelection(dialog, IDC_SMOOTHING), L"mittel (150 ms)") << c.what;
            std::vector<std::wstring> texts = ChildTexts(dialog);
            for (const wchar_t* label : {L"Leistung am", L"Korrektur:", L"Zeit nach Maximum:", L"Glättung:"})
                EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << Narrow(label);
            ExpectFinishedLayout(VisibleControls(dialog), ClientScreenRect(dialog), "CORRECT");
            EXPECT_TRUE(SaveWindowImage(dialog, L"correct.png"));
            ChooseComboItem(dialog, IDC_POWER_MODE, 1);
            ChooseComboItem(dialog, IDC_CORRECTION, 2);
            SetControlText(dialog, IDC_LOSSTIME, L"4.5");
            ChooseComboItem(dialog, IDC_SMOOTHING, 2);
            SendMessageW(dialog, WM_COMMAND, c.button, 0);
        }}});
        EXPECT_EQ(runCorrection(nullptr, options), c.button) << c.what;
        EXPECT_TRUE(script.finished()) << c.what << ": " << script.failure();
        EXPECT_EQ(options.powerMode, c.powerMode) << c.what;
        EXPECT_EQ(options.correction, c.correction) << c.what;
        EXPECT_EQ(options.lossTime, c.lossTime) << c.what;
        EXPECT_EQ(options.smoothing, c.smoothing) << c.what;
        EXPECT_EQ(options.smoothingItems, &theSettings().smoothingChoices) << c.what;
        EXPECT_EQ(options.correctionItems, &theSettings().correctionChoices) << c.what << ": the list stays";
    }
}
