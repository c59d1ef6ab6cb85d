// The data editing and the gear ratio on measurements as a diagram window
// holds them: working copies per measurement, the file list, the supervisor's
// fields, what OK writes back and marks modified, and the gear ratio from an
// engine speed at a known road speed.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "CalcGear.h"
#include "DialogScript.h"
#include "EditData.h"
#include "EvaluationCursor.h"
#include "EvaluationOptions.h"
#include "LayoutCheck.h"
#include "NumberText.h"
#include "Settings.h"
#include "TestHelpers.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

const wchar_t kEditTitle[] = L"Daten ändern";
const wchar_t kGearTitle[] = L"Untersetzung ermitteln";
const wchar_t kErrorTitle[] = L"Fehler";

// 90000 ticks per revolution of a 1.25 m roller: 100 km/h.
constexpr int32_t kPeriodAt100 = 90000;

RECT ClientScreenRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <class T>
std::string Lines(const std::vector<T>& items) {
    std::string text;
    for (const auto& item : items) text += "\n  " + item;
    return text;
}

// A diagram window's view of its measurements: seven slots, its evaluation
// options and cursor, every measurement evaluated as on adding it.
class DiagramMeasurements {
public:
    DiagramMeasurements() : options(evaluationOptionsFromSettings(theSettings())), cursor(options, theSettings()) {
        runs.reserve(7);
    }
    DiagramMeasurements(const DiagramMeasurements&) = delete;
    DiagramMeasurements& operator=(const DiagramMeasurements&) = delete;

    Measurement& add(Measurement m) {
        runs.push_back(std::move(m));
        for (size_t i = 0; i < runs.size(); ++i) slots[i] = &runs[i];
        cursor.bindSlots(slots, 7);
        cursor.evaluate(runs.back());
        return runs.back();
    }
    INT_PTR edit() { return runEditData(nullptr, slots, 7, cursor); }

    EvaluationOptions options;
    EvaluationCursor cursor;
    std::vector<Measurement> runs;  // reserved below, so the slots stay valid
    Measurement* slots[7] = {};
};

// Two runs; answers the second.
Measurement& AddTwoRuns(DiagramMeasurements& diagram) {
    Measurement first = ConstantRun(L"C:\\Messungen\\golf-gti-1.kxm", kPeriodAt100, 200);
    first.comment = L"Golf GTI, 4. Gang\r\nÖlwechsel vor der Messung";
    diagram.add(std::move(first));
    Measurement second = ConstantRun(L"C:\\Messungen\\golf-gti-2.kxm", kPeriodAt100, 200);
    second.comment = L"Zweiter Lauf";
    second.temperature = 23;
    second.gearRatio = 2.7345678912345;  // as a recording determines it
    return diagram.add(std::move(second));
}

class EditDataTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
    void TearDown() override { ResetSettings(); }
    Measurement& AddTwoRuns() { return ::AddTwoRuns(diagram); }
    DiagramMeasurements diagram;
};

}  // namespace

TEST_F(EditDataTest, OpensOnTheFirstMeasurementWithEveryFileInTheList) {
    AddTwoRuns();
    DialogScript script({{kEditTitle, [](HWND dialog) {
        EXPECT_EQ(ComboItems(dialog, IDC_FILE_LIST),
                  (std::vector<std::wstring>{L"C:\\Messungen\\golf-gti-1.kxm", L"C:\\Messungen\\golf-gti-2.kxm"}));
        EXPECT_EQ(ComboSelection(dialog, IDC_FILE_LIST), L"C:\\Messungen\\golf-gti-1.kxm");
        struct Shown {
            int id;
            const wchar_t* text;
        };
        const Shown shown[] = {{IDC_COMMENT, L"Golf GTI, 4. Gang\r\nÖlwechsel vor der Messung"},
                               {IDC_TEMPERATURE, L"21"},
                               {IDC_PRESSURE, L"1013"},
                               {IDC_HUMIDITY, L"45"},
                               {IDC_GEAR, L"1."},
                               {IDC_INERTIA, L"7.05"},
                               {IDC_WHEEL, L"1.25"}};
        for (const Shown& c : shown) EXPECT_EQ(ControlText(dialog, c.id), c.text) << "control " << c.id;

        std::vector<std::wstring> texts = ChildTexts(dialog);
        for (const wchar_t* label : {L"Dateiname:", L"Kommentar:", L"Temperatur(°C):", L"Luftdruck(mBar):",
                                     L"rel.Feuchte(%):", L"Untersetzung:", L"Trägheitsmoment:", L"Wellenumfang:",
                                     L"Ermitteln...", L"OK", L"Abbruch"})
            EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << Narrow(label);
        std::vector<HWND> controls = VisibleControls(dialog);
        EXPECT_TRUE(ClippedTexts(controls).empty()) << Lines(ClippedTexts(controls));
        EXPECT_TRUE(Overlaps(controls).empty()) << Lines(Overlaps(controls));
        EXPECT_TRUE(OutsideOf(controls, ClientScreenRect(dialog)).empty());
        EXPECT_TRUE(SaveWindowImage(dialog, L"editdata.png"));

        ChooseComboItem(dialog, IDC_FILE_LIST, 1);
        EXPECT_EQ(ControlText(dialog, IDC_COMMENT), L"Zweiter Lauf");
        EXPECT_EQ(ControlText(dialog, IDC_TEMPERATURE), L"23");
        EXPECT_EQ(ControlText(dialog, IDC_GEAR), L"2.73457");
        EXPECT_TRUE(SaveWindowImage(dialog, L"editdata-second.png"));
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }}});
    EXPECT_EQ(diagram.edit(), IDCANCEL);
    EXPECT_TRUE(script.finished()) << script.failure();
}

TEST_F(EditDataTest, ChangingOnlyTheSecondCommentMarksOnlyTheSecondModified) {
    Measurement& second = AddTwoRuns();
    Measurement& first = diagram.runs[0];
    Measurement before = second;
    DialogScript script({{kEditTitle, [](HWND dialog) {
        ChooseComboItem(dialog, IDC_FILE_LIST, 1);
        SetControlText(dialog, IDC_COMMENT, L"Zweiter Lauf, Reifen neu");
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    }}});
    EXPECT_EQ(diagram.edit(), IDOK);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_EQ(first.modified, 0);
    EXPECT_EQ(first.comment, L"Golf GTI, 4. Gang\r\nÖlwechsel vor der Messung");
    EXPECT_EQ(second.modified, 1);
    EXPECT_EQ(second.comment, L"Zweiter Lauf, Reifen neu");
    EXPECT_TRUE(SameBits(second.gearRatio, before.gearRatio)) << "a gear ratio nobody touched keeps every digit";
    EXPECT_EQ(second.temperature, before.temperature);
}

TEST_F(EditDataTest, OkWithoutChangesMarksNothingAndKeepsEveryBit) {
    Measurement& second = AddTwoRuns();
    second.comment = L"Zeile 1\nZeile 2";  // bare line feeds, as other programs write them
    second.circumference = 1.2345678901;
    DialogScript script({{kEditTitle, [](HWND dialog) {
        ChooseComboItem(dialog, IDC_FILE_LIST, 1);
        ChooseComboItem(dialog, IDC_FILE_LIST, 0);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    }}});
    EXPECT_EQ(diagram.edit(), IDOK);
    EXPECT_TRUE(script.finished()) << script.failure();
    for (const Measurement& m : diagram.runs) EXPECT_EQ(m.modified, 0) << Narrow(m.fileName);
    EXPECT_EQ(second.comment, L"Zeile 1\nZeile 2");
    EXPECT_TRUE(SameBits(second.gearRatio, 2.7345678912345));
    EXPECT_TRUE(SameBits(second.circumference, 1.2345678901));
}

TEST_F(EditDataTest, EachMeasurementKeepsItsOwnCopyUntilOkAndCancelDiscardsThemAll) {
    AddTwoRuns();
    std::vector<Measurement> before = diagram.runs;
    DialogScript script({{kEditTitle, [](HWND dialog) {
        SetControlText(dialog, IDC_TEMPERATURE, L"5");
        ChooseComboItem(dialog, IDC_FILE_LIST, 1);
        EXPECT_EQ(ControlText(dialog, IDC_TEMPERATURE), L"23");
        SetControlText(dialog, IDC_TEMPERATURE, L"7");
        ChooseComboItem(dialog, IDC_FILE_LIST, 0);
        EXPECT_EQ(ControlText(dialog, IDC_TEMPERATURE), L"5") << "the first copy kept what was typed";
        ChooseComboItem(dialog, IDC_FILE_LIST, 1);
        EXPECT_EQ(ControlText(dialog, IDC_TEMPERATURE), L"7");
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }}});
    EXPECT_EQ(diagram.edit(), IDCANCEL);
    EXPECT_TRUE(script.finished()) << script.failure();
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(diagram.runs[i].temperature, before[i].temperature) << i;
        EXPECT_EQ(diagram.runs[i].modified, 0) << i;
    }
}

TEST_F(EditDataTest, IntegerFieldsShowUnsignedAndReadBackTruncatedTo16Bits) {
    AddTwoRuns();
    struct Case {
        const wchar_t* typed;
        uint16_t stored;
        const wchar_t* shownAgain;
    };
    const Case cases[] = {
        {L"-5", 65531, L"65531"}, {L"abc", 0, L"0"}, {L"70000", 4464, L"4464"},
        {L"65535", 65535, L"65535"}, {L" 30", 30, L"30"},
    };
    for (const Case& c : cases) {
        DiagramMeasurements diagram;
        Measurement& second = ::AddTwoRuns(diagram);
        DialogScript script({{kEditTitle, [&c](HWND dialog) {
            ChooseComboItem(dialog, IDC_FILE_LIST, 1);
            SetControlText(dialog, IDC_PRESSURE, c.typed);
            ChooseComboItem(dialog, IDC_FILE_LIST, 0);
            ChooseComboItem(dialog, IDC_FILE_LIST, 1);
            EXPECT_EQ(ControlText(dialog, IDC_PRESSURE), c.shownAgain) << Narrow(c.typed);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        }}});
        EXPECT_EQ(diagram.edit(), IDOK);
        EXPECT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(second.pressure, c.stored) << Narrow(c.typed);
        EXPECT_EQ(second.modified, 1) << Narrow(c.typed);
    }
}

TEST_F(EditDataTest, TemperatureShowsAndReadsBackSigned) {
    const struct {
        const wchar_t* typed;
        int16_t stored;
        const wchar_t* shownAgain;
    } cases[] = {{L"-5", -5, L"-5"}, {L"65531", -5, L"-5"}, {L"-40", -40, L"-40"}, {L"12", 12, L"12"}};
    for (const auto& c : cases) {
        DiagramMeasurements diagram;
        Measurement& second = ::AddTwoRuns(diagram);
        DialogScript script({{kEditTitle, [&c](HWND dialog) {
            ChooseComboItem(dialog, IDC_FILE_LIST, 1);
            SetControlText(dialog, IDC_TEMPERATURE, c.typed);
            ChooseComboItem(dialog, IDC_FILE_LIST, 0);
            ChooseComboItem(dialog, IDC_FILE_LIST, 1);
            EXPECT_EQ(ControlText(dialog, IDC_TEMPERATURE), c.shownAgain) << Narrow(c.typed);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        }}});
        EXPECT_EQ(diagram.edit(), IDOK);
        EXPECT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(second.temperature, c.stored) << Narrow(c.typed);
    }
}

TEST_F(EditDataTest, InertiaAndCircumferenceAreTheSupervisorsOnly) {
    struct Case {
        int16_t advancedEditing;
        bool enabled;
    };
    for (const Case& c : {Case{0, false}, Case{1, true}, Case{2, false}}) {
        theSettings().supervisorAdvancedEditing = c.advancedEditing;
        DiagramMeasurements diagram;
        Measurement& second = ::AddTwoRuns(diagram);
        DialogScript script({{kEditTitle, [&c](HWND dialog) {
            for (int selected : {0, 1}) {
                ChooseComboItem(dialog, IDC_FILE_LIST, selected);
                for (int id : {IDC_INERTIA, IDC_WHEEL}) {
                    EXPECT_TRUE(IsVisible(dialog, id)) << "AdvancedEditing " << c.advancedEditing << ", " << id;
                    EXPECT_EQ(IsEnabled(dialog, id), c.enabled) << "AdvancedEditing " << c.advancedEditing << ", " << id;
                }
            }
            if (c.advancedEditing == 1) {
                EXPECT_TRUE(SaveWindowImage(dialog, L"editdata-supervisor.png"));
            }
            if (c.enabled) {
                SetControlText(dialog, IDC_INERTIA, L"8.5");
                SetControlText(dialog, IDC_WHEEL, L"1.5");
            }
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        }}});
        EXPECT_EQ(diagram.edit(), IDOK);
        EXPECT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(second.inertia, c.enabled ? 8.5 : 7.05) << "AdvancedEditing " << c.advancedEditing;
        EXPECT_EQ(second.circumference, c.enabled ? 1.5 : 1.25) << "AdvancedEditing " << c.advancedEditing;
    }
}

TEST_F(EditDataTest, NoMeasurementNoDialogAndEmptySlotsAreLeftOut) {
    EXPECT_EQ(diagram.edit(), IDCANCEL);
    Measurement run = ConstantRun(L"C:\\Messungen\\einzeln.kxm", kPeriodAt100, 100);
    Measurement* slots[7] = {nullptr, nullptr, &run};
    DialogScript script({{kEditTitle, [](HWND dialog) {
        EXPECT_EQ(ComboItems(dialog, IDC_FILE_LIST), std::vector<std::wstring>{L"C:\\Messungen\\einzeln.kxm"});
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }}});
    EXPECT_EQ(runEditData(nullptr, slots, 7, diagram.cursor), IDCANCEL);
    EXPECT_TRUE(script.finished()) << script.failure();
}

TEST(GearRatio, EngineSpeedOverRollerRevolutionsPerMinute) {
    struct Case {
        double rpm, kmh, circumference, gear;
    };
    const Case cases[] = {
        {4000, 100, 1.25, 3.0},     // 1333.33 roller revolutions per minute
        {1333.3333333333333, 100, 1.25, 1.0},
        {4000, 100, 2.5, 6.0},
        {6000, 50, 1.25, 9.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(gearRatioFromSpeeds(c.rpm, c.kmh, c.circumference), c.gear, 1e-12)
            << c.rpm << " U/min at " << c.kmh << " km/h on " << c.circumference << " m";
}

TEST_F(EditDataTest, GearFrom4000RpmAt100KmhOnA125MetreRollerIsThree) {
    Measurement& second = AddTwoRuns();
    // what the diagram shows at the engine-speed maximum
    diagram.cursor.rewind(second);
    diagram.cursor.openWindow(second.maxRpmIndex);
    int32_t rpm = diagram.cursor.quantityValue(kQuantityEngineSpeed, second.maxRpmIndex);
    int32_t speed = diagram.cursor.quantityValue(kQuantitySpeed, second.maxRpmIndex);
    ASSERT_NEAR(speed, 1000, 1) << "the run goes at 100 km/h";
    DialogScript script({
        {kEditTitle,
         [](HWND dialog) {
             ChooseComboItem(dialog, IDC_FILE_LIST, 1);
             SetControlText(dialog, IDC_COMMENT, L"Übersetzung neu ermittelt");
             ClickButton(dialog, IDC_CALC_GEAR);
             EXPECT_EQ(ControlText(dialog, IDC_GEAR), L"3.");
             EXPECT_EQ(ControlText(dialog, IDC_COMMENT), L"Übersetzung neu ermittelt") << "typed text stays";
             SendMessageW(dialog, WM_COMMAND, IDOK, 0);
         }},
        {kGearTitle,
         [rpm, speed](HWND dialog) {
             EXPECT_EQ(ControlText(dialog, IDC_RPM_MAX), formatDouble(rpm));
             EXPECT_EQ(ControlText(dialog, IDC_SPEED_MAX), formatDouble(speed / 10.0));
             std::vector<std::wstring> texts = ChildTexts(dialog);
             for (const wchar_t* label : {L"Max. U/min:", L"Max. km/h:", L"OK", L"Abbruch"})
                 EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << Narrow(label);
             std::vector<HWND> controls = VisibleControls(dialog);
             EXPECT_TRUE(ClippedTexts(controls).empty()) << Lines(ClippedTexts(controls));
             EXPECT_TRUE(Overlaps(controls).empty()) << Lines(Overlaps(controls));
             EXPECT_TRUE(OutsideOf(controls, ClientScreenRect(dialog)).empty());
             EXPECT_TRUE(SaveWindowImage(dialog, L"calcgear.png"));
             SetControlText(dialog, IDC_RPM_MAX, L"4000");
             SetControlText(dialog, IDC_SPEED_MAX, L"100");
             SendMessageW(dialog, WM_COMMAND, IDOK, 0);
         }},
    });
    EXPECT_EQ(diagram.edit(), IDOK);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_NEAR(second.gearRatio, 3.0, 1e-12);
    EXPECT_EQ(second.modified, 1);
    EXPECT_EQ(second.comment, L"Übersetzung neu ermittelt");
    EXPECT_EQ(diagram.runs[0].modified, 0);
}

TEST_F(EditDataTest, TheGearUsesTheCircumferenceTheFieldShows) {
    theSettings().supervisorAdvancedEditing = 1;
    Measurement& first = diagram.add(ConstantRun(L"C:\\Messungen\\a.kxm", kPeriodAt100, 200));
    DialogScript script({
        {kEditTitle,
         [](HWND dialog) {
             SetControlText(dialog, IDC_WHEEL, L"2.5");
             ClickButton(dialog, IDC_CALC_GEAR);
             EXPECT_EQ(ControlText(dialog, IDC_GEAR), L"6.");
             EXPECT_EQ(ControlText(dialog, IDC_WHEEL), L"2.5");
             SendMessageW(dialog, WM_COMMAND, IDOK, 0);
         }},
        {kGearTitle,
         [](HWND dialog) {
             SetControlText(dialog, IDC_RPM_MAX, L"4000");
             SetControlText(dialog, IDC_SPEED_MAX, L"100");
             SendMessageW(dialog, WM_COMMAND, IDOK, 0);
         }},
    });
    EXPECT_EQ(diagram.edit(), IDOK);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_NEAR(first.gearRatio, 6.0, 1e-12);
    EXPECT_EQ(first.circumference, 2.5);
}

// At 1 km/h or less the roller barely turns: an error, and the gear ratio
// stays as it was.
TEST_F(EditDataTest, ARoadSpeedOfOneKmhOrLessGivesTheMessageAndChangesNothing) {
    struct Case {
        const wchar_t* speed;
        bool message;
        const wchar_t* gearShown;
    };
    const Case cases[] = {
        {L"1", true, L"2.5"}, {L"1.", true, L"2.5"}, {L"0.99", true, L"2.5"}, {L"0", true, L"2.5"},
        {L"-100", true, L"2.5"}, {L"kein", true, L"2.5"}, {L"1.5", false, L"200."},
    };
    for (const Case& c : cases) {
        DiagramMeasurements diagram;
        Measurement run = ConstantRun(L"C:\\Messungen\\a.kxm", kPeriodAt100, 200);
        run.gearRatio = 2.5;
        Measurement& m = diagram.add(std::move(run));
        std::vector<ScriptStep> steps = {
            {kEditTitle,
             [&c](HWND dialog) {
                 ClickButton(dialog, IDC_CALC_GEAR);
                 EXPECT_EQ(ControlText(dialog, IDC_GEAR), c.gearShown) << Narrow(c.speed);
                 SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
             }},
            {kGearTitle,
             [&c](HWND dialog) {
                 SetControlText(dialog, IDC_RPM_MAX, L"4000");
                 SetControlText(dialog, IDC_SPEED_MAX, c.speed);
                 SendMessageW(dialog, WM_COMMAND, IDOK, 0);
             }},
        };
        if (c.message)
            steps.push_back({kErrorTitle, [&c](HWND box) {
                                 std::vector<std::wstring> texts = MessageTexts(box);
                                 EXPECT_NE(std::find(texts.begin(), texts.end(),
                                                     L"Untersetzung kann nicht ermittelt werden"),
                                           texts.end())
                                     << Narrow(c.speed);
                                 if (std::wstring(c.speed) == L"1") {
                                     EXPECT_TRUE(SaveWindowImage(box, L"calcgear-fehler.png"));
                                 }
                                 PostMessageW(box, WM_COMMAND, IDOK, 0);
                             }});
        DialogScript script(steps);
        EXPECT_EQ(diagram.edit(), IDCANCEL);
        EXPECT_TRUE(script.finished()) << Narrow(c.speed) << ": " << script.failure();
        EXPECT_EQ(m.gearRatio, 2.5) << Narrow(c.speed);
        EXPECT_EQ(m.modified, 0) << Narrow(c.speed);
    }
}

TEST_F(EditDataTest, CancellingTheGearDialogChangesNothing) {
    Measurement& m = diagram.add(ConstantRun(L"C:\\Messungen\\a.kxm", kPeriodAt100, 200));
    DialogScript script({
        {kEditTitle,
         [](HWND dialog) {
             ClickButton(dialog, IDC_CALC_GEAR);
             EXPECT_EQ(ControlText(dialog, IDC_GEAR), L"1.");
             SendMessageW(dialog, WM_COMMAND, IDOK, 0);
         }},
        {kGearTitle,
         [](HWND dialog) {
             SetControlText(dialog, IDC_RPM_MAX, L"4000");
             SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
         }},
    });
    EXPECT_EQ(diagram.edit(), IDOK);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_EQ(m.gearRatio, 1.0);
    EXPECT_EQ(m.modified, 0);
}

TEST_F(EditDataTest, AGearOfZeroBecomesOneAtTheNextEvaluation) {
    Measurement& m = diagram.add(ConstantRun(L"C:\\Messungen\\a.kxm", kPeriodAt100, 200));
    DialogScript script({{kEditTitle, [](HWND dialog) {
        SetControlText(dialog, IDC_GEAR, L"0");
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    }}});
    EXPECT_EQ(diagram.edit(), IDOK);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_EQ(m.gearRatio, 0.0) << "stored as typed";
    EXPECT_EQ(m.modified, 1);
    diagram.cursor.evaluate(m);  // the diagram re-evaluates after OK
    EXPECT_EQ(m.gearRatio, 1.0);
}
