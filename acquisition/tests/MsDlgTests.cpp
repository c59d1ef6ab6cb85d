// The measurement dialog under Wine on the program's own template, with the
// simulated controller (dynosim) on pseudo-terminals mapped to COM ports:
// layout, device set-ups, complete runs from "Start" to the saved file and
// its evaluation against the simulated vehicle, the duration limit, the
// start conditions, the gear ratio, the run outcome, dropped and abandoned
// runs, a failed save, the lamps, the options and screenshots.
//
// The wrapper msdlg_wine_test.sh starts the controllers and names their
// ports in the environment:
//   KX_CYCLE_PORT   dynosim driving its cycle (idle, pull, coast-down), fast
//   KX_LAMBDA_PORT  dynosim at steady speed with a narrow-band lambda probe
//   KX_FAST_PORT    dynosim with a roller turning 83 times a second, fast
//   KX_LOOP_PORTS   two ends of one line: the test plays the controller
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "EvaluatedRun.h"
#include "FrameDecoder.h"
#include "MeasurementFile.h"
#include "MeasurementFileDialog.h"
#include "MsDlg.h"
#include "Options.h"
#include "Screenshot.h"
#include "SerialLink.h"
#include "Settings.h"
#include "StepScript.h"
#include "TestHelpers.h"
#include "TestSupport.h"
#include "Vehicle.h"
#include "resource.h"

namespace {

const wchar_t kTitle[] = L"Meßwert-Erfassung";
constexpr int kFileNameBox = 0x47C;  // cmb13: the file name of the platform's file dialog

int16_t PortFromEnvironment(const char* name, int which = 0) {
    const char* text = std::getenv(name);
    if (!text) return 0;
    std::istringstream in(text);
    int port = 0;
    for (int i = 0; i <= which; ++i) in >> port;
    return static_cast<int16_t>(port);
}

// ---- windows of this thread

struct Search {
    std::function<bool(HWND)> match;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    if (!IsWindowVisible(window) || !search->match(window)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindThreadWindow(std::function<bool(HWND)> match) {
    Search search{std::move(match)};
    EnumThreadWindows(GetCurrentThreadId(), &MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MeasurementDialog() {
    return FindThreadWindow([](HWND w) { return WindowTextOf(w) == kTitle; });
}

CMsDlg* Dialog() {
    return dynamic_cast<CMsDlg*>(ObjectFromWindow(MeasurementDialog()));
}

// A click on a button, as its notification reaches the dialog.
void ClickButton(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool IsDialogClass(HWND w) {
    return ClassNameOf(w) == L"#32770";
}

// The platform's file dialog that the measurement dialog opened.
HWND FileDialog() {
    HWND owner = MeasurementDialog();
    return FindThreadWindow([owner](HWND w) {
        return owner && IsDialogClass(w) && IsWindowEnabled(w) && GetWindow(w, GW_OWNER) == owner &&
               GetDlgItem(w, kFileNameBox) != nullptr;
    });
}

// A message box over the measurement dialog (its text is static 0xFFFF).
HWND MessageBoxOverDialog() {
    HWND owner = MeasurementDialog();
    return FindThreadWindow([owner](HWND w) {
        return owner && IsDialogClass(w) && IsWindowEnabled(w) && GetWindow(w, GW_OWNER) == owner &&
               GetDlgItem(w, 0xFFFF) != nullptr;
    });
}

HICON MessageBoxIcon(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    return nullptr;
}

std::wstring FileDialogName(HWND fileDialog) {
    wchar_t name[MAX_PATH] = {};
    SendMessageW(fileDialog, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(name));
    return name;
}

std::wstring FileDialogFolder(HWND fileDialog) {
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(fileDialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return folder;
}

int ProgressPosition(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_RUN_PROGRESS, PBM_GETPOS, 0, 0));
}

// The state table as the operator sees it.
struct ShownState {
    std::wstring button, status;
    bool closeEnabled, optionsEnabled;
};

ShownState StateOf(HWND dialog) {
    return {ControlText(dialog, IDC_START), ControlText(dialog, IDC_STATUS_LINE), IsEnabled(dialog, IDOK),
            IsEnabled(dialog, ID_OPTIONS)};
}

void ExpectState(HWND dialog, const ShownState& want, const char* where) {
    const ShownState got = StateOf(dialog);
    EXPECT_EQ(got.button, want.button) << where;
    EXPECT_EQ(got.status, want.status) << where;
    EXPECT_EQ(got.closeEnabled, want.closeEnabled) << where;
    EXPECT_EQ(got.optionsEnabled, want.optionsEnabled) << where;
    EXPECT_TRUE(IsEnabled(dialog, IDC_START)) << where;
}

const ShownState kIdle{L"Start", L"Warte auf Startknopf", true, true};
const ShownState kWaitingForRpm{L"Stop", L"Warte auf Drehzahl", false, false};
const ShownState kWaitingForSpeed{L"Stop", L"Warte auf Geschwindigkeit", false, false};
const ShownState kRecording{L"Stop", L"", false, false};

// ---- steps shared by the runs

RunState StateNow() {
    CMsDlg* dialog = Dialog();
    return dialog ? dialog->run.runState() : RunState::Idle;
}

// The controller echoes the configuration of "Geschwind." and the program's
// settings (16 pulses, ratio 1:1), and nothing is unanswered.
bool ConfiguredForSpeed() {
    CMsDlg* d = Dialog();
    const LiveValues& live = theLiveValues();
    return d && live.deviceType == 0 && live.status[0] == 0 && live.status[1] == 3 && live.status[2] == 15 &&
           live.statusSeen && d->transmissionLamp->value == 0;
}

// The controller is configured and talking, and the engine idles in gear
// (not declutched on the coast-down): the next pull lies ahead.
Step PressStartAtIdle(const ShownState& waiting) {
    return {"start at engine idle",
            [] {
                CMsDlg* d = Dialog();
                const LiveValues& live = theLiveValues();
                return ConfiguredForSpeed() && live.engineSpeed() > 500 && live.engineSpeed() < 1300 &&
                       live.rollerSpeed(1.25) < 30 && IsWindowEnabled(d->hwnd);
            },
            [waiting] {
                HWND dialog = MeasurementDialog();
                ExpectState(dialog, kIdle, "before Start");
                ClickButton(dialog, IDC_START);
                EXPECT_EQ(StateNow(), RunState::Waiting);
                ExpectState(dialog, waiting, "after Start");
            }};
}

// Controller talking and configured, whatever the engine does.
Step PressStartWhenTalking() {
    return {"start", [] { return ConfiguredForSpeed() && IsWindowEnabled(Dialog()->hwnd); },
            [] { ClickButton(MeasurementDialog(), IDC_START); }};
}

Step WhenRecording(std::function<void()> action = [] {}) {
    return {"recording", [] { return StateNow() == RunState::Recording; },
            [action] {
                ExpectState(MeasurementDialog(), kRecording, "recording");
                action();
            }};
}

Step WhenElapsed(int32_t ticks, std::function<void()> action) {
    return {"recorded " + std::to_string(ticks) + " ticks",
            [ticks] {
                CMsDlg* d = Dialog();
                return d && d->run.runState() == RunState::Recording && d->run.elapsed() > ticks;
            },
            std::move(action)};
}

// Confirms the save dialog with the name it proposes, after checking it.
Step ConfirmSave(const std::wstring& folder, const std::wstring& proposed) {
    return {"save dialog", [] { return FileDialog() != nullptr; },
            [folder, proposed] {
                HWND fileDialog = FileDialog();
                EXPECT_EQ(FileDialogName(fileDialog), proposed);
                EXPECT_EQ(FileDialogFolder(fileDialog), folder);
                ExpectState(MeasurementDialog(), kIdle, "the run is over while the file dialog asks");
                PostMessageW(fileDialog, WM_COMMAND, IDOK, 0);
            }};
}

Step CancelSave() {
    return {"save dialog to cancel", [] { return FileDialog() != nullptr; },
            [] { PostMessageW(FileDialog(), WM_COMMAND, IDCANCEL, 0); }};
}

// The dialog is back, idle and usable, with no other window over it.
Step WhenIdleAgain(std::function<void()> action) {
    return {"idle again",
            [] {
                HWND dialog = MeasurementDialog();
                return dialog && IsWindowEnabled(dialog) && StateNow() == RunState::Idle;
            },
            std::move(action)};
}

Step Pause(DWORD milliseconds, std::function<void()> action) {
    auto start = std::make_shared<DWORD>(0);
    return {"pause",
            [start, milliseconds] {
                if (*start == 0) *start = GetTickCount();
                return GetTickCount() - *start >= milliseconds;
            },
            std::move(action)};
}

Step Close(UINT command) {
    return {"close", [] { return MeasurementDialog() != nullptr; },
            [command] { PostMessageW(MeasurementDialog(), WM_COMMAND, command, 0); }};
}

struct Outcome {
    INT_PTR result = -1;
    std::string failure;
};

// The dialog's record, where it leaves the run's outcome; steps read it
// while the dialog is open.
MeasurementDialogData& DialogRecord() {
    static MeasurementDialogData record;
    return record;
}

Outcome RunDialog(std::vector<Step> steps) {
    StepScript script(std::move(steps));
    Outcome outcome;
    outcome.result =
        DoModal(new CMsDlg({&chooseMeasurementFile, &runOptions, {}}), &DialogRecord(), L"Speed", nullptr);
    outcome.failure = script.failure();
    return outcome;
}

std::wstring TestFolder(const wchar_t* name) {
    wchar_t full[MAX_PATH] = {};
    CreateDirectoryW(L"..\\msdlg-runs", nullptr);
    std::wstring folder = std::wstring(L"..\\msdlg-runs\\") + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr);
    // a folder from an earlier test run starts empty
    WIN32_FIND_DATAW found;
    HANDLE walk = FindFirstFileW((std::wstring(full) + L"\\*").c_str(), &found);
    if (walk != INVALID_HANDLE_VALUE) {
        do {
            std::wstring path = std::wstring(full) + L"\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (found.cFileName[0] != L'.') RemoveDirectoryW(path.c_str());
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(walk, &found));
        FindClose(walk);
    }
    return full;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

class MsDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        // the file dialog makes the folder it saved in the current one; the
        // test's relative paths (screenshots, run folders) start from the program's
        SetCurrentDirectoryW(ProgramFolder().c_str());
        ResetSettings();
        // each test talks to another controller: what the last one said must
        // not count (the program has one controller, whose values outlive
        // the dialog)
        theLiveValues() = LiveValues{};
        DialogRecord().runOutcome = 7;  // the dialog resets it
    }
    void TearDown() override {
        theSerialLink().close();
        ResetSettings();
    }
    // The program's link on `port`, as the options leave it.
    void UsePort(int16_t port) {
        ASSERT_NE(port, 0) << "run through msdlg_wine_test.sh";
        theSettings().hardwareComPort = port;
        theSerialLink().open(port);
        ASSERT_TRUE(theSerialLink().isOpen()) << "COM" << port;
    }
};

// ---- the simulated vehicle as the evaluation should find it again

struct Peak {
    double powerKw = 0, rpm = 0;
};

void ExpectSimulatedVehicle(Measurement& m) {
    const VehicleParameters parameters;  // dynosim's defaults
    const Vehicle vehicle(parameters);
    EXPECT_NEAR(m.gearRatio, parameters.gearRatio, 0.01 * parameters.gearRatio) << "estimated gear ratio";
    EvaluatedRun evaluation(m);
    evaluation.findLoss(3.0);
    ASSERT_GT(evaluation.lossRpm(), 1) << "no loss point on the coast-down";
    EXPECT_NEAR(evaluation.rpm(evaluation.maxRpmIndex()), parameters.limitRpm, 0.02 * parameters.limitRpm);
    for (bool engineMode : {false, true}) {
        SCOPED_TRACE(engineMode ? "at the engine" : "at the axle");
        const auto points = evaluation.pull(engineMode);
        Peak want, got;
        for (double rpm = parameters.pullStartRpm; rpm <= parameters.limitRpm; rpm += 1) {
            const double kw = engineMode ? vehicle.enginePowerKw(rpm) : vehicle.wheelPowerKw(rpm);
            if (kw > want.powerKw) want = {kw, rpm};
        }
        for (const auto& point : points)
            if (point.powerKw > got.powerKw) got = {point.powerKw, point.rpm};
        EXPECT_NEAR(got.powerKw, want.powerKw, 0.01 * want.powerKw) << "peak power";
        EXPECT_NEAR(got.rpm, want.rpm, 0.02 * want.rpm) << "engine speed at peak power";
        int compared = 0;
        for (const auto& point : points) {
            if (point.rpm < 2500 || point.rpm > parameters.limitRpm - 300) continue;
            const double model = engineMode ? parameters.engine.torque(point.rpm) : vehicle.wheelTorque(point.rpm);
            EXPECT_NEAR(point.torque, model, 0.02 * model) << "torque at " << point.rpm << " U/min";
            ++compared;
        }
        EXPECT_GT(compared, 10);
    }
}

Measurement ReadRun(const std::wstring& path) {
    Measurement m;
    EXPECT_TRUE(readMeasurement(path, m)) << Narrow(path);
    return m;
}

// The run ended on the first roller frame after the duration limit: the
// revolution that passed it is the last one recorded.
void ExpectEndAfter(const Measurement& m, int32_t limit) {
    ASSERT_GE(m.sampleCount, 2);
    EXPECT_GT(m.times[m.sampleCount - 1], limit);
    EXPECT_LE(m.times[m.sampleCount - 2], limit);
    for (uint16_t i = 1; i < m.sampleCount; ++i) ASSERT_GT(m.times[i], m.times[i - 1]) << "sample " << i;
}

}  // namespace

TEST_F(MsDlgTest, TemplateInstrumentsAndStartingState) {
    UsePort(PortFromEnvironment("KX_LOOP_PORTS"));
    theSettings().speedMax = 300;
    theSettings().recordGear = 2.3456;
    theFrameDecoder().selectDevice(4);  // left over from an earlier opening
    // after the first tick
    const Outcome outcome = RunDialog({{"opened", [] {
        return Dialog() && theLiveValues().deviceType == 0 && !WindowTextOf(Dialog()->ratioText->hwnd).empty();
    }, [] {
        HWND dialog = MeasurementDialog();
        CMsDlg* d = Dialog();
        EXPECT_EQ(DialogRecord().runOutcome, 0) << "reset on opening";

        // the template: client 355 x 257 units, every control where it belongs
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_NEAR(client.right, DluX(dialog, 355), 1);
        EXPECT_NEAR(client.bottom, DluY(dialog, 257), 1);
        const struct {
            int id;
            int x, y, w, h;
            const wchar_t* text;
        } controls[] = {
            {IDC_SPEED_GAUGE, 5, 5, 175, 160, L"%d km/h"}, {IDC_RPM_GAUGE, 180, 5, 175, 160, L"%d U/min"},
            {IDC_AF_BAR, 5, 5, 175, 80, L"A/F"},           {IDC_GAS_BAR, 5, 85, 175, 80, L"Gas"},
            {IDC_DEVICE_LIST, 5, 185, 125, -1, nullptr},   {IDC_RUN_PROGRESS, 140, 185, 210, 12, L""},
            {IDC_STATUS_LINE, 105, 170, 145, 10, nullptr}, {IDC_TRANSMISSION_LAMP, 5, 205, 95, 20, L"Übertragung"},
            {IDC_SLIP_LAMP, 5, 230, 95, 20, L"Schlupf"},   {IDC_RATIO_TEXT, 110, 210, 95, 35, nullptr},
            {IDC_START, 210, 205, 70, 45, L"Start"},       {ID_OPTIONS, 285, 205, 65, 20, L"Einstellen..."},
            {IDOK, 285, 230, 65, 20, L"Schließen"},
        };
        for (const auto& c : controls) {
            SCOPED_TRACE("control " + std::to_string(c.id));
            HWND control = GetDlgItem(dialog, c.id);
            ASSERT_NE(control, nullptr);
            RECT r = ChildRect(control);
            EXPECT_NEAR(r.left, DluX(dialog, c.x), 1);
            EXPECT_NEAR(r.top, DluY(dialog, c.y), 1);
            EXPECT_NEAR(r.right - r.left, DluX(dialog, c.w), 1);
            if (c.h > 0) {
                EXPECT_NEAR(r.bottom - r.top, DluY(dialog, c.h), 1);
            }
            if (c.text) {
                EXPECT_EQ(WindowTextOf(control), c.text);
            }
        }
        EXPECT_EQ(ClassNameOf(GetDlgItem(dialog, IDC_RUN_PROGRESS)), L"msctls_progress32");
        EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) << "kept on top";
        RECT window{}, desktop{};
        GetWindowRect(dialog, &window);
        GetClientRect(GetDesktopWindow(), &desktop);
        POINT origin{0, 0};
        ClientToScreen(dialog, &origin);
        EXPECT_NEAR(origin.x + client.right / 2, desktop.right / 2, 2) << "centred on the screen";
        EXPECT_NEAR(origin.y + client.bottom / 2, desktop.bottom / 2, 2);

        // the instruments in place of their placeholders, with their ranges
        const struct {
            CInstr* instrument;
            int id;
            int32_t minimum, maximum;
        } instruments[] = {
            {d->speedGauge, IDC_SPEED_GAUGE, 0, 300}, {d->rpmGauge, IDC_RPM_GAUGE, 0, 8000},
            {d->afBar, IDC_AF_BAR, 100, 180},          {d->gasBar, IDC_GAS_BAR, 400, 1200},
            {d->slipLamp, IDC_SLIP_LAMP, 0, 1},        {d->transmissionLamp, IDC_TRANSMISSION_LAMP, 0, 1},
        };
        for (const auto& i : instruments) {
            SCOPED_TRACE("instrument " + std::to_string(i.id));
            ASSERT_NE(i.instrument, nullptr);
            EXPECT_EQ(i.instrument->hwnd, GetDlgItem(dialog, i.id));
            EXPECT_EQ(i.instrument->minimum, i.minimum);
            EXPECT_EQ(i.instrument->maximum, i.maximum);
        }
        EXPECT_EQ(d->speedGauge->labelFontHeight, 18);
        EXPECT_EQ(d->rpmGauge->valueFontHeight, 20);
        EXPECT_EQ(d->afBar->style, 1);
        EXPECT_EQ(d->gasBar->style, 2);
        EXPECT_EQ(d->afBar->labelFontHeight, 14);
        EXPECT_EQ(d->gasBar->valueFontHeight, 17);
        ASSERT_NE(d->ratioText, nullptr);
        EXPECT_EQ(WindowTextOf(d->ratioText->hwnd), L"2.346") << "Record/Gear, 4 digits";

        // device list and state: "Geschwind." chosen, idle
        EXPECT_EQ(ComboItems(dialog, IDC_DEVICE_LIST),
                  (std::vector<std::wstring>{L"Geschwind.", L"Lambda/Gas", L"Lambda/Temp.", L"UECO Typ A", L"MTO",
                                             L"Dyno WB2 A/F", L"Dyno WB2 (Lambda)"}));
        EXPECT_EQ(ComboSelection(dialog, IDC_DEVICE_LIST), L"Geschwind.");
        EXPECT_EQ(theLiveValues().deviceType, 0);
        EXPECT_EQ(theLiveValues().channelMode, 0);
        EXPECT_TRUE(IsWindowVisible(d->speedGauge->hwnd));
        EXPECT_FALSE(IsWindowVisible(d->afBar->hwnd));
        EXPECT_FALSE(IsWindowVisible(d->gasBar->hwnd));
        EXPECT_TRUE(IsWindowVisible(d->rpmGauge->hwnd));
        ExpectState(dialog, kIdle, "opened");
        EXPECT_EQ(ProgressPosition(dialog), 0);
        EXPECT_TRUE(d->run.allocated());
    }}, Close(IDOK)});
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(DialogRecord().runOutcome, 0) << "closed without a run";
}

TEST_F(MsDlgTest, DeviceListShowsTheInstrumentsOfEachSetUp) {
    UsePort(PortFromEnvironment("KX_LOOP_PORTS"));
    const Outcome outcome = RunDialog({{"opened", [] { return Dialog() && theLiveValues().deviceType == 0; }, [] {
        HWND dialog = MeasurementDialog();
        CMsDlg* d = Dialog();
        const struct {
            int index;
            bool speed, af, gas;
            const wchar_t* gasLabel;
            uint8_t channelMode;
        } cases[] = {
            {3, false, true, false, L"Gas", 1},   // "UECO Typ A": no throttle input; label untouched
            {0, true, false, false, L"Gas", 0},   // "Geschwind." again: the speed gauge back, both bars away
            {2, false, true, true, L"Temp.", 1},  // "Lambda/Temp."
            {3, false, true, false, L"Temp.", 1}, // the label stays as it was
            {1, false, true, true, L"Gas", 1},    // "Lambda/Gas"
            {5, false, true, true, L"Temp.", 2},  // "Dyno WB2 A/F"
            {4, false, true, true, L"Gas", 1},    // "MTO"
            {6, false, true, true, L"Temp.", 2},  // "Dyno WB2 (Lambda)"
            {0, true, false, false, L"Temp.", 0},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE("device " + std::to_string(c.index));
            ChooseComboItem(dialog, IDC_DEVICE_LIST, c.index);
            EXPECT_EQ(theLiveValues().deviceType, c.index);
            EXPECT_EQ(theLiveValues().channelMode, c.channelMode);
            EXPECT_EQ(IsWindowVisible(d->speedGauge->hwnd) != FALSE, c.speed);
            EXPECT_EQ(IsWindowVisible(d->afBar->hwnd) != FALSE, c.af);
            EXPECT_EQ(IsWindowVisible(d->gasBar->hwnd) != FALSE, c.gas);
            EXPECT_TRUE(IsWindowVisible(d->rpmGauge->hwnd)) << "the engine-speed gauge stays";
            EXPECT_EQ(d->gasBar->Caption(), c.gasLabel);
        }
    }}, Close(IDCANCEL)});
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(outcome.result, IDCANCEL);
}

// Start at idle, the engine-speed start condition, the automatic gear ratio,
// Record/Period 20, the save dialog with the next number, outcome 1, and
// the file's evaluation against the simulated vehicle.
TEST_F(MsDlgTest, CompleteRunIsSavedAndEvaluatesToTheSimulatedVehicle) {
    UsePort(PortFromEnvironment("KX_CYCLE_PORT"));
    const std::wstring folder = TestFolder(L"complete");
    Settings& s = theSettings();
    s.desktopLastFile = folder + L"\\run3.kxm";
    s.recordComment = L"Simulierter Lauf, 3. Gang";
    std::vector<int> progress;
    const Outcome outcome = RunDialog({
        PressStartAtIdle(kWaitingForRpm),
        WhenRecording([] {
            EXPECT_GE(120000000 / theLiveValues().enginePeriod, 2000) << "started at 2000 U/min or above";
        }),
        WhenElapsed(4000000, [&progress] {
            CMsDlg* d = Dialog();
            HWND dialog = MeasurementDialog();
            progress.push_back(ProgressPosition(dialog));
            EXPECT_NEAR(theSettings().recordGear, 3.0, 0.05) << "Record/Gear follows the estimate";
            EXPECT_GT(d->speedGauge->value, 40);
            EXPECT_GT(d->rpmGauge->value, 2000);
            EXPECT_EQ(d->transmissionLamp->value, 0);
            EXPECT_TRUE(SaveWindowImage(dialog, L"measure-speed.png"));
        }),
        WhenElapsed(30000000, [&progress] {
            progress.push_back(ProgressPosition(MeasurementDialog()));
            // fixed since the third second, so the display has caught up
            EXPECT_EQ(WindowTextOf(Dialog()->ratioText->hwnd), gearRatioText(theSettings().recordGear));
        }),
        ConfirmSave(folder, L"run4.kxm"),
    });
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(outcome.result, IDOK) << "closed as by \"Schließen\"";
    EXPECT_EQ(DialogRecord().runOutcome, 1) << "Record/ResumeMode 1";
    EXPECT_EQ(s.desktopLastFile, folder + L"\\run4.kxm");
    ASSERT_EQ(progress.size(), 2u);
    EXPECT_GE(progress[0], 5);
    EXPECT_LE(progress[0], 40);
    EXPECT_GE(progress[1], 75);
    EXPECT_LE(progress[1], 90);

    Measurement m = ReadRun(s.desktopLastFile);
    ExpectEndAfter(m, 40000000);
    EXPECT_EQ(m.comment, L"Simulierter Lauf, 3. Gang");
    EXPECT_DOUBLE_EQ(m.gearRatio, s.recordGear);
    EXPECT_DOUBLE_EQ(m.inertia, 7.05);
    EXPECT_DOUBLE_EQ(m.circumference, 1.25);
    EXPECT_FALSE(m.hasLambda()) << "\"Geschwind.\" records no lambda channel";
    EXPECT_NEAR(m.recordedAt, static_cast<double>(time(nullptr)), 120);
    ExpectSimulatedVehicle(m);
}

// A line that loses one byte in 500: the run still evaluates as the
// simulated vehicle, and the status line tells what the line cost.
TEST_F(MsDlgTest, RunThroughALossyLineEvaluatesAsTheVehicleAndSaysSo) {
    UsePort(PortFromEnvironment("KX_LOSSY_PORT"));
    const std::wstring folder = TestFolder(L"lossy");
    Settings& s = theSettings();
    s.desktopLastFile = folder + L"\\Kunde-0001.kxm";
    s.recordResumeMode = 0;
    std::wstring status;
    const Outcome outcome = RunDialog({
        PressStartAtIdle(kWaitingForRpm),
        {"save dialog", [] { return FileDialog() != nullptr; },
         [&status] {
             // idle while the file dialog asks, with the line's note in place of "Warte auf Startknopf"
             status = ControlText(MeasurementDialog(), IDC_STATUS_LINE);
             PostMessageW(FileDialog(), WM_COMMAND, IDOK, 0);
         }},
        WhenIdleAgain([] { EXPECT_TRUE(SaveWindowImage(MeasurementDialog(), L"measure-line-disturbed.png")); }),
        Close(IDOK),
    });
    EXPECT_EQ(outcome.failure, "");
    int rejected = 0;
    EXPECT_EQ(swscanf(status.c_str(), L"Leitung gestört: %d Telegramme verworfen", &rejected), 1)
        << "[" << status << "]";
    EXPECT_GT(rejected, 0);
    Measurement m = ReadRun(folder + L"\\Kunde-0002.kxm");
    for (int i = 1; i < m.sampleCount; ++i) ASSERT_GT(m.times[i], m.times[i - 1]) << "stamp " << i;
    ExpectSimulatedVehicle(m);
}

// Record/Period 0 records one second and becomes 1; the road-speed start;
// Record/ResumeMode 0 keeps the dialog open, idle, and opens nothing.
TEST_F(MsDlgTest, PeriodZeroRecordsOneSecondAndResumeModeZeroStaysOpen) {
    UsePort(PortFromEnvironment("KX_CYCLE_PORT"));
    const std::wstring folder = TestFolder(L"one-second");
    Settings& s = theSettings();
    s.desktopLastFile = folder + L"\\lauf1.kxm";
    s.recordPeriod = 0;
    s.recordResumeMode = 0;
    s.recordStartMode = 1;
    s.recordStartVal = 40;  // km/h; the roller turns at about 22 km/h while the engine idles
    const Outcome outcome = RunDialog({
        PressStartAtIdle(kWaitingForSpeed),
        ConfirmSave(folder, L"lauf2.kxm"),
        WhenIdleAgain([] {
            HWND dialog = MeasurementDialog();
            EXPECT_EQ(DialogRecord().runOutcome, 0);
            EXPECT_EQ(FileDialog(), nullptr);
            ExpectState(dialog, kIdle, "saved, still open");
            EXPECT_EQ(ProgressPosition(dialog), 0);
        }),
        Close(IDOK),
    });
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(DialogRecord().runOutcome, 0) << "the frame opens nothing";
    EXPECT_EQ(s.recordPeriod, 1);
    EXPECT_EQ(s.desktopLastFile, folder + L"\\lauf2.kxm");
    Measurement m = ReadRun(folder + L"\\lauf2.kxm");
    ExpectEndAfter(m, 2000000);
    // the revolution after the one that reached 40 km/h
    const double firstSpeed = 1.25 * 2000000 * 3.6 / m.times[0];
    EXPECT_GE(firstSpeed, 39);
    EXPECT_LE(firstSpeed, 60);
}

// GearAuto off leaves Record/Gear alone and the slip lamp compares the
// estimate with it; a failed save names the file and lets the operator
// choose another name; outcome 2 closes the dialog.
TEST_F(MsDlgTest, FixedGearFailedSaveAndAnotherName) {
    UsePort(PortFromEnvironment("KX_CYCLE_PORT"));
    const std::wstring folder = TestFolder(L"fixed-gear");
    Settings& s = theSettings();
    s.desktopLastFile = folder + L"\\run3.kxm";
    s.recordGearAuto = 0;
    s.recordGear = 2.5;
    s.recordPeriod = 4;
    s.recordResumeMode = 2;
    // the file cannot be written: its temporary file is taken by a folder
    const std::wstring blocked = folder + L"\\run4.kxm";
    ASSERT_TRUE(CreateDirectoryW((blocked + L".tmp~").c_str(), nullptr));
    std::vector<std::wstring> errorTexts;
    std::wstring errorCaption;
    const Outcome outcome = RunDialog({
        PressStartAtIdle(kWaitingForRpm),
        WhenElapsed(3000000, [] {
            CMsDlg* d = Dialog();
            EXPECT_DOUBLE_EQ(theSettings().recordGear, 2.5);
            EXPECT_NEAR(theGearEstimate(), 3.0, 0.1);
            EXPECT_EQ(d->slipLamp->value, 1) << "an estimate of 3 strays from 2.5 by more than 10 %";
        }),
        ConfirmSave(folder, L"run4.kxm"),
        {"error box", [] { return MessageBoxOverDialog() != nullptr; },
         [&] {
             HWND box = MessageBoxOverDialog();
             errorCaption = WindowTextOf(box);
             errorTexts = MessageTexts(box);
             EXPECT_GT(Dialog()->run.sampleCount(), 0) << "the run is still there";
             PostMessageW(box, WM_COMMAND, IDOK, 0);
         }},
        {"save dialog again", [] { return FileDialog() != nullptr; },
         [folder] {
             HWND fileDialog = FileDialog();
             EXPECT_EQ(FileDialogName(fileDialog), L"run4.kxm") << "the same name, not the next number";
             SendMessageW(fileDialog, CDM_SETCONTROLTEXT, kFileNameBox, reinterpret_cast<LPARAM>(L"anders.kxm"));
             PostMessageW(fileDialog, WM_COMMAND, IDOK, 0);
         }},
    });
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(DialogRecord().runOutcome, 2);
    EXPECT_EQ(errorCaption, blocked) << "the error names the file";
    ASSERT_FALSE(errorTexts.empty());
    EXPECT_NE(errorTexts[0].find(L"Die Datei konnte nicht gespeichert werden."), std::wstring::npos);
    EXPECT_FALSE(FileExists(blocked));
    EXPECT_EQ(s.desktopLastFile, folder + L"\\anders.kxm");
    EXPECT_DOUBLE_EQ(s.recordGear, 2.5);
    Measurement m = ReadRun(folder + L"\\anders.kxm");
    EXPECT_DOUBLE_EQ(m.gearRatio, 2.5);
    ExpectEndAfter(m, 8000000);
    RemoveDirectoryW((blocked + L".tmp~").c_str());
}

// A cancelled save drops the run silently; a failed save that is then
// cancelled leaves Desktop/LastFile at the file written last.
TEST_F(MsDlgTest, CancelledSavesDropTheRun) {
    UsePort(PortFromEnvironment("KX_CYCLE_PORT"));
    const std::wstring folder = TestFolder(L"cancelled");
    Settings& s = theSettings();
    s.desktopLastFile = folder + L"\\run3.kxm";
    s.recordPeriod = 1;
    ASSERT_TRUE(CreateDirectoryW((folder + L"\\run4.kxm.tmp~").c_str(), nullptr));
    const Outcome outcome = RunDialog({
        PressStartAtIdle(kWaitingForRpm),
        CancelSave(),
        WhenIdleAgain([] {
            EXPECT_EQ(MessageBoxOverDialog(), nullptr) << "no message";
            ExpectState(MeasurementDialog(), kIdle, "cancelled");
        }),
        PressStartAtIdle(kWaitingForRpm),
        ConfirmSave(folder, L"run4.kxm"),
        {"error box", [] { return MessageBoxOverDialog() != nullptr; },
         [] { PostMessageW(MessageBoxOverDialog(), WM_COMMAND, IDOK, 0); }},
        CancelSave(),
        WhenIdleAgain([folder] {
            EXPECT_EQ(theSettings().desktopLastFile, folder + L"\\run3.kxm") << "nothing was written";
            EXPECT_EQ(DialogRecord().runOutcome, 0);
        }),
        Close(IDCANCEL),
    });
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(outcome.result, IDCANCEL);
    EXPECT_EQ(DialogRecord().runOutcome, 0);
    EXPECT_EQ(s.desktopLastFile, folder + L"\\run3.kxm");
    EXPECT_FALSE(FileExists(folder + L"\\run4.kxm"));
    RemoveDirectoryW((folder + L"\\run4.kxm.tmp~").c_str());
}

// "Stop" while recording drops the run without a save dialog; the cancel
// command ends the dialog even while "Schließen" is disabled, and the Return
// key does not.
TEST_F(MsDlgTest, StopAndCancelDropARunInProgress) {
    UsePort(PortFromEnvironment("KX_CYCLE_PORT"));
    const std::wstring folder = TestFolder(L"stopped");
    theSettings().desktopLastFile = folder + L"\\run3.kxm";
    // long enough that the test sees the run recording after its first half
    // second (the controller runs ten times faster than real time)
    theSettings().recordPeriod = 5;
    const Outcome outcome = RunDialog({
        PressStartAtIdle(kWaitingForRpm),
        WhenElapsed(1000000, [] {
            ClickButton(MeasurementDialog(), IDC_START);
            EXPECT_EQ(StateNow(), RunState::Idle);
            ExpectState(MeasurementDialog(), kIdle, "stopped");
            EXPECT_EQ(ProgressPosition(MeasurementDialog()), 0);
        }),
        // the run would have ended within these 5 s of simulated time
        Pause(1500, [] { EXPECT_EQ(FileDialog(), nullptr) << "no save dialog after Stop"; }),
        PressStartAtIdle(kWaitingForRpm),
        WhenRecording([] {
            // Return sends IDOK; "Schließen" is disabled, so nothing happens
            SendMessageW(MeasurementDialog(), WM_COMMAND, IDOK, 0);
            EXPECT_EQ(StateNow(), RunState::Recording);
            EXPECT_NE(MeasurementDialog(), nullptr);
            PostMessageW(MeasurementDialog(), WM_CLOSE, 0, 0);  // the close box: cancel
        }),
    });
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(outcome.result, IDCANCEL);
    EXPECT_EQ(DialogRecord().runOutcome, 0);
    EXPECT_FALSE(FileExists(folder + L"\\run4.kxm"));
    EXPECT_EQ(theSettings().desktopLastFile, folder + L"\\run3.kxm");
}

TEST_F(MsDlgTest, MoreThanSixteenThousandRevolutionsAreTooMany) {
    UsePort(PortFromEnvironment("KX_FAST_PORT"));
    const std::wstring folder = TestFolder(L"too-many");
    theSettings().desktopLastFile = folder + L"\\run3.kxm";
    theSettings().recordPeriod = 300;  // 25,000 revolutions at 83 per second
    std::vector<std::wstring> texts;
    std::wstring caption;
    const Outcome outcome = RunDialog({
        PressStartWhenTalking(),
        WhenRecording(),
        {"warning", [] { return MessageBoxOverDialog() != nullptr; },
         [&] {
             HWND box = MessageBoxOverDialog();
             caption = WindowTextOf(box);
             texts = MessageTexts(box);
             EXPECT_EQ(StateNow(), RunState::Idle);
             ExpectState(MeasurementDialog(), kIdle, "abandoned");
             EXPECT_EQ(MessageBoxIcon(box), LoadIconW(nullptr, IDI_WARNING));
             PostMessageW(box, WM_COMMAND, IDOK, 0);
         },
         30000},
        Pause(300, [] { EXPECT_EQ(FileDialog(), nullptr) << "nothing is stored"; }),
        Close(IDOK),
    });
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(caption, L"Fehler");
    EXPECT_EQ(texts, std::vector<std::wstring>{L"Zu viele Meßpunkte"});
    EXPECT_EQ(DialogRecord().runOutcome, 0);
    EXPECT_FALSE(FileExists(folder + L"\\run4.kxm"));
}

// The lamp lights when no byte has come for a second, and while a command
// is unanswered; it goes out when status frames agree again, after its hold
// time. Here the test is the controller, on the other end of a loop pair.
TEST_F(MsDlgTest, TransmissionLampWatchesTheLine) {
    const int16_t programPort = PortFromEnvironment("KX_LOOP_PORTS", 0);
    const int16_t controllerPort = PortFromEnvironment("KX_LOOP_PORTS", 1);
    UsePort(programPort);
    SerialLink controller;
    controller.open(controllerPort);
    ASSERT_TRUE(controller.isOpen());
    struct Collected : ByteConsumer {
        std::vector<uint8_t> bytes;
        void feedByte(uint8_t byte) override { bytes.push_back(byte); }
    };
    auto commands = std::make_shared<Collected>();
    // whatever the line held before this test is not an answer to it
    Collected stale;
    controller.drain(stale);
    // a status frame as the controller sends it every 100 ms, bytes 0..2
    auto sendStatus = [&controller](uint8_t b0, uint8_t b1, uint8_t b2) {
        const uint32_t v = b0 | b1 << 8 | b2 << 16;
        uint8_t header = 0x80 | 2 << 5;
        for (int i = 0; i < 3; ++i)
            if ((v >> (8 * i)) & 0x80) header |= 1 << i;
        controller.writeByte(header);
        for (int i = 0; i < 3; ++i) controller.writeByte((v >> (8 * i)) & 0x7F);
    };
    DWORD lastStatus = 0, silentSince = 0, litAfter = 0;
    auto every100ms = [&lastStatus](const std::function<void()>& send) {
        if (GetTickCount() - lastStatus >= 100) {
            lastStatus = GetTickCount();
            send();
        }
    };
    const Outcome outcome = RunDialog({
        {"lamp lit before anything arrives", [] { return Dialog() && Dialog()->transmissionLamp->value == 1; },
         [] {}},
        // the controller answers in channel mode 1: the program commands mode 0
        {"mode command", [&] {
             every100ms([&] { sendStatus(1, 0, 0); });
             controller.drain(*commands);
             return !commands->bytes.empty();
         },
         [&] {
             EXPECT_EQ(commands->bytes[0], 0x50) << "stale bytes before the test: " << stale.bytes.size();
             EXPECT_EQ(Dialog()->transmissionLamp->value, 1) << "a command is unanswered";
         }},
        // a configured controller: the lamp goes out
        {"lamp out", [&] {
             every100ms([&] { sendStatus(0, 3, 15); });
             controller.drain(*commands);
             return Dialog()->transmissionLamp->value == 0;
         },
         [&] { silentSince = GetTickCount(); }},
        // silence
        {"lamp lit by silence", [&] { return Dialog()->transmissionLamp->value == 1; },
         [&] { litAfter = GetTickCount() - silentSince; }},
        Close(IDOK),
    });
    EXPECT_EQ(outcome.failure, "");
    EXPECT_GE(litAfter, 900u) << "not before the second has passed";
    EXPECT_LE(litAfter, 2000u) << "about a second after the last byte";
    controller.close();
}

// "Start" pressed while the controller has not yet confirmed its
// configuration shows the wait at once but lets the run wait for the start
// condition only once a status frame shows the configuration in force: the
// commands still go out meanwhile, and no revolution of the old
// configuration is recorded. Here the test is the controller.
TEST_F(MsDlgTest, StartWaitsUntilTheControllerConfirmsItsConfiguration) {
    UsePort(PortFromEnvironment("KX_LOOP_PORTS", 0));
    SerialLink controller;
    controller.open(PortFromEnvironment("KX_LOOP_PORTS", 1));
    ASSERT_TRUE(controller.isOpen());
    struct Collected : ByteConsumer {
        std::vector<uint8_t> bytes;
        void feedByte(uint8_t byte) override { bytes.push_back(byte); }
    };
    Collected stale;
    controller.drain(stale);
    auto sendFrame = [&controller](int type, uint32_t v) {
        uint8_t header = static_cast<uint8_t>(0x80 | type << 5);
        for (int i = 0; i < 3; ++i)
            if ((v >> (8 * i)) & 0x80) header |= 1 << i;
        controller.writeByte(header);
        for (int i = 0; i < 3; ++i) controller.writeByte((v >> (8 * i)) & 0x7F);
    };
    // engine at 6000 U/min (period in eighths of a microsecond), a roller
    // revolution of 0.1 s: the start condition holds at every roller frame
    auto sendRevolution = [&] {
        sendFrame(0, 80000);
        sendFrame(1, 200000);
    };
    auto commands = std::make_shared<Collected>();
    uint32_t framesAtStart = 0;
    const Outcome outcome = RunDialog({
        // 16 pulses and ratio 1:1 wanted; the controller says index 0 and code 1
        {"commands sent", [&] {
             sendFrame(2, 0 | 1 << 8 | 0 << 16);
             Sleep(30);
             controller.drain(*commands);
             return commands->bytes.size() >= 2 && !theLiveValues().statusSeen;
         },
         [&] {
             HWND dialog = MeasurementDialog();
             framesAtStart = theFrameDecoder().frameCount();
             ClickButton(dialog, IDC_START);
             ExpectState(dialog, kWaitingForRpm, "Start pressed");
             EXPECT_EQ(StateNow(), RunState::Idle) << "the run does not wait yet";
         }},
        {"no recording before the answer", [&] {
             sendRevolution();
             return theFrameDecoder().frameCount() > framesAtStart + 20;
         },
         [&] {
             EXPECT_EQ(StateNow(), RunState::Idle);
             EXPECT_EQ(Dialog()->run.sampleCount(), 0);
             ExpectState(MeasurementDialog(), kWaitingForRpm, "still waiting for the controller");
         }},
        {"configured, recording", [&] {
             sendFrame(2, 0 | 3 << 8 | 15 << 16);
             sendRevolution();
             Sleep(20);
             return StateNow() == RunState::Recording;
         },
         [] { ExpectState(MeasurementDialog(), kRecording, "recording"); }},
        {"stopped", [] { return true; }, [] { ClickButton(MeasurementDialog(), IDC_START); }},
        WhenIdleAgain([] { ExpectState(MeasurementDialog(), kIdle, "stopped"); }),
        Close(IDOK),
    });
    EXPECT_EQ(outcome.failure, "");
    controller.close();
}

// "Einstellen..." runs the options; OK gives the gauges the new ranges,
// cancel keeps them; the link is open again either way.
TEST_F(MsDlgTest, OptionsSetTheGaugeRanges) {
    UsePort(PortFromEnvironment("KX_LOOP_PORTS"));
    auto optionsStep = [](const wchar_t* speedMax, int button) {
        return Step{"options", [] { return FindThreadWindow([](HWND w) {
                                        return WindowTextOf(w) == L"Optionen" && IsWindowEnabled(w);
                                    }) != nullptr; },
                    [speedMax, button] {
                        HWND options = FindThreadWindow([](HWND w) { return WindowTextOf(w) == L"Optionen"; });
                        SetControlText(options, IDC_SPEED_MAX, speedMax);
                        SetControlText(options, IDC_RPM_MAX, L"9000");
                        PostMessageW(options, WM_COMMAND, button, 0);
                    }};
    };
    const Outcome outcome = RunDialog({
        {"opened", [] { return Dialog() != nullptr; },
         [] { PostMessageW(MeasurementDialog(), WM_COMMAND, ID_OPTIONS, 0); }},
        optionsStep(L"300", IDOK),
        WhenIdleAgain([] {
            CMsDlg* d = Dialog();
            EXPECT_EQ(d->speedGauge->maximum, 300);
            EXPECT_EQ(d->rpmGauge->maximum, 9000);
            EXPECT_TRUE(theSerialLink().isOpen());
            PostMessageW(MeasurementDialog(), WM_COMMAND, ID_OPTIONS, 0);
        }),
        optionsStep(L"150", IDCANCEL),
        WhenIdleAgain([] {
            CMsDlg* d = Dialog();
            EXPECT_EQ(d->speedGauge->maximum, 300) << "cancelled";
            EXPECT_EQ(theSettings().speedMax, 300);
            EXPECT_TRUE(theSerialLink().isOpen());
        }),
        Close(IDOK),
    });
    EXPECT_EQ(outcome.failure, "");
}

// The instruments with live values of the narrow-band lambda probe and the
// throttle, and of the wide-band meter with the exhaust temperature.
TEST_F(MsDlgTest, LambdaInstrumentsShowLiveValues) {
    UsePort(PortFromEnvironment("KX_LAMBDA_PORT"));
    const Outcome outcome = RunDialog({
        {"configured", [] { return ConfiguredForSpeed(); },
         [] { ChooseComboItem(MeasurementDialog(), IDC_DEVICE_LIST, 1); }},
        {"lambda channels", [] {
             CMsDlg* d = Dialog();
             // the throttle byte 50 settles at 800
             return theLiveValues().status[0] == 1 && d->transmissionLamp->value == 0 && d->gasBar->value >= 795;
         },
         [] {
             CMsDlg* d = Dialog();
             EXPECT_EQ(d->gasBar->Caption(), L"Gas");
             EXPECT_EQ(d->gasBar->value, std::min(theLiveValues().gasDisplayValue(), 1200));
             EXPECT_NEAR(d->rpmGauge->value, 3500, 10);
             EXPECT_EQ(d->afBar->value, 100) << "the narrow-band reading (10) lies below the A/F scale";
             EXPECT_TRUE(SaveWindowImage(MeasurementDialog(), L"measure-lambda-gas.png"));
         }},
        Close(IDOK),
    });
    EXPECT_EQ(outcome.failure, "");
}

TEST_F(MsDlgTest, WideBandMeterShowsAirFuelRatioAndTemperature) {
    UsePort(PortFromEnvironment("KX_CYCLE_PORT"));
    const Outcome outcome = RunDialog({
        {"configured", [] { return ConfiguredForSpeed(); },
         [] { ChooseComboItem(MeasurementDialog(), IDC_DEVICE_LIST, 5); }},
        {"pulling with the wide-band meter", [] {
             CMsDlg* d = Dialog();
             return theLiveValues().status[0] == 2 && d->transmissionLamp->value == 0 && d->afBar->value > 100 &&
                    d->rpmGauge->value > 4000;
         },
         [] {
             CMsDlg* d = Dialog();
             EXPECT_EQ(d->gasBar->Caption(), L"Temp.");
             EXPECT_EQ(d->afBar->value, std::clamp(theLiveValues().afDisplayValue(), 100, 180));
             EXPECT_TRUE(SaveWindowImage(MeasurementDialog(), L"measure-wb2.png"));
         }},
        Close(IDOK),
    });
    EXPECT_EQ(outcome.failure, "");
}
