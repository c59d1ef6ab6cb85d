// The main frame's measure command (1543) under Wine, in a real main frame of
// the test's own process, with dynosim on a pseudo-terminal: a recorded run
// opens as Record/ResumeMode asks (a new diagram window, the active one, a
// full active one that only says so, nothing), and the frame's window with
// the new run's power curve is kept as a screenshot. Last, the real
// kaltrenox.exe records, saves and shows a run.
//
// The wrapper measure_command_wine_test.sh names dynosim's port in
// KX_CYCLE_PORT, and the steady one of the real program tests in KX_STEADY_PORT.
#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "DiagWnd.h"
#include "DiagramHooks.h"
#include "FrameDecoder.h"
#include "FrameworkState.h"
#include "KaltrenoxProcess.h"
#include "MeasurementFile.h"
#include "MsDlg.h"
#include "MyApp.h"
#include "Screenshot.h"
#include "Seams.h"
#include "SerialLink.h"
#include "Settings.h"
#include "StepScript.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

const wchar_t kTitle[] = L"Meßwert-Erfassung";

HWND ThreadWindow(const std::function<bool(HWND)>& match) {
    struct Search {
        const std::function<bool(HWND)>* match;
        HWND found;
    } search{&match, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (!IsWindowVisible(w) || !IsWindowEnabled(w) || !(*s->match)(w)) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

CMsDlg* MeasurementDialog() {
    return dynamic_cast<CMsDlg*>(ObjectFromWindow(ThreadWindow([](HWND w) { return WindowTextOf(w) == kTitle; })));
}

HWND FileDialog() {
    return ThreadWindow([](HWND w) { return ClassNameOf(w) == L"#32770" && GetDlgItem(w, cmb13) != nullptr; });
}

// A message box: its text is the static 0xFFFF.
HWND MessageBoxWithCaption(const wchar_t* caption) {
    return ThreadWindow([caption](HWND w) {
        return ClassNameOf(w) == L"#32770" && WindowTextOf(w) == caption && GetDlgItem(w, 0xFFFF) != nullptr;
    });
}

void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// "Start" once the controller echoes its configuration and the engine idles
// in gear, so that the run takes the whole next pull.
Step PressStartAtIdle() {
    return {"start at idle",
            [] {
                CMsDlg* d = MeasurementDialog();
                const LiveValues& live = theLiveValues();
                return d && live.statusSeen && live.status[1] == 3 && live.status[2] == 15 &&
                       live.engineSpeed() > 500 && live.engineSpeed() < 1300 && live.rollerSpeed(1.25) < 30;
            },
            [] { Click(MeasurementDialog()->hwnd, IDC_START); }};
}

Step ConfirmSave() {
    return {"save dialog", [] { return FileDialog() != nullptr; },
            [] { PostMessageW(FileDialog(), WM_COMMAND, IDOK, 0); }};
}

// A run of one second has no coast-down: the diagram says so, in a box
// captioned with the file's path.
Step NoCoastDownBox() {
    return {"no coast-down box",
            [] { return MessageBoxWithCaption(theSettings().desktopLastFile.c_str()) != nullptr; },
            [] { PostMessageW(MessageBoxWithCaption(theSettings().desktopLastFile.c_str()), WM_COMMAND, IDOK, 0); }};
}

Step CloseDialog() {
    return {"close", [] { return MeasurementDialog() != nullptr; },
            [] { PostMessageW(MeasurementDialog()->hwnd, WM_COMMAND, IDOK, 0); }};
}

std::wstring RunFolder(const wchar_t* name) {
    // a fresh folder under build/windows/app-runs/files
    const std::wstring marker = SampleMeasurement(std::wstring(L"measure-") + name + L"\\marker.kxm");
    const std::wstring folder = marker.substr(0, marker.find_last_of(L'\\'));
    for (int i = 0; i < 10; ++i) DeleteFileW((folder + L"\\run" + std::to_wstring(i) + L".kxm").c_str());
    DeleteFileW(marker.c_str());
    return folder;
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

class MeasureCommand : public ::testing::Test {
protected:
    void SetUp() override {
        // the file dialog makes the folder it saved in the current one; the
        // test's relative paths (screenshots, run folders) start from the program's
        SetCurrentDirectoryW(ProgramFolder().c_str());
        ResetSettings();
        theLiveValues() = LiveValues{};
        InstallDiagramHooks();
        theApp().commandLine.clear();
        frame = theApp().CreateMainFrame(new CMyFrame);
        ASSERT_NE(frame, nullptr);
        theFramework().mainWindow = frame;
        SetWindowPos(frame->hwnd, HWND_TOP, 20, 20, 1024, 720, 0);
        PumpMessages();
        const char* port = std::getenv("KX_CYCLE_PORT");
        ASSERT_NE(port, nullptr) << "run through measure_command_wine_test.sh";
        theSettings().hardwareComPort = static_cast<int16_t>(std::atoi(port));
        theSerialLink().open(theSettings().hardwareComPort);
        ASSERT_TRUE(theSerialLink().isOpen());
    }
    void TearDown() override {
        theSerialLink().close();
        if (frame && IsWindow(frame->hwnd)) DestroyWindow(frame->hwnd);
        PumpMessages();
        TakeQuitMessage();
        theFramework().mainWindow = nullptr;
        theDiagramHooks() = DiagramHooks{};
    }

    // The frame's measure command (key M); the steps drive the dialog, and
    // `outcome` is what the command opened the saved run by.
    std::string Measure(std::vector<Step> steps) {
        StepScript script(std::move(steps));
        outcome = RunMeasurementCommand(frame);
        return script.failure();
    }

    std::vector<HWND> DiagramWindows() const {
        std::vector<HWND> windows;
        for (HWND child = GetWindow(frame->client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (dynamic_cast<CDiagWnd*>(ObjectFromWindow(child))) windows.push_back(child);
        return windows;
    }

    CMyFrame* frame = nullptr;
    int outcome = -1;
};

}  // namespace

// What a newcomer does: M, "Geschwind.", "Start", the car runs up, the run is
// saved, and its power curve appears in a new diagram window.
TEST_F(MeasureCommand, SavedRunOpensInANewDiagramWindow) {
    const std::wstring folder = RunFolder(L"new");
    theSettings().desktopLastFile = folder + L"\\run1.kxm";
    const std::string failure = Measure({PressStartAtIdle(), ConfirmSave()});
    EXPECT_EQ(failure, "");
    EXPECT_EQ(outcome, 1);
    const std::wstring saved = folder + L"\\run2.kxm";
    EXPECT_EQ(theSettings().desktopLastFile, saved);
    ASSERT_EQ(DiagramWindows().size(), 1u);
    EXPECT_EQ(DiagramFiles(frame->ActiveChild()), std::vector<std::wstring>{saved});
    Measurement m;
    ASSERT_TRUE(readMeasurement(saved, m));
    EXPECT_GT(m.sampleCount, 300);
    SendMessageW(frame->client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(frame->ActiveChild()), 0);
    SetCurrentDirectoryW(ProgramFolder().c_str());
    EXPECT_TRUE(SaveWindowImage(frame->hwnd, L"measure-new-run.png"));
}

TEST_F(MeasureCommand, ClosingWithoutARunOpensNothing) {
    EXPECT_EQ(Measure({CloseDialog()}), "");
    EXPECT_EQ(outcome, 0);
    EXPECT_TRUE(DiagramWindows().empty());
}

TEST_F(MeasureCommand, ResumeModeZeroSavesAndOpensNothing) {
    const std::wstring folder = RunFolder(L"only-save");
    theSettings().desktopLastFile = folder + L"\\run1.kxm";
    theSettings().recordResumeMode = 0;
    theSettings().recordPeriod = 1;
    EXPECT_EQ(Measure({PressStartAtIdle(), ConfirmSave(), CloseDialog()}), "");
    EXPECT_EQ(outcome, 0);
    EXPECT_TRUE(DiagramWindows().empty());
    EXPECT_NE(GetFileAttributesW((folder + L"\\run2.kxm").c_str()), INVALID_FILE_ATTRIBUTES) << "saved";
}

// Record/ResumeMode 2: into the active diagram window; a new one when none
// is open; a full one only shows 40017 and the file stays saved.
TEST_F(MeasureCommand, ResumeModeTwoAddsToTheActiveDiagram) {
    const std::wstring folder = RunFolder(L"active");
    theSettings().recordResumeMode = 2;
    theSettings().recordPeriod = 1;

    // no diagram window: a new one
    theSettings().desktopLastFile = folder + L"\\run1.kxm";
    EXPECT_EQ(Measure({PressStartAtIdle(), ConfirmSave(), NoCoastDownBox()}), "");
    ASSERT_EQ(DiagramWindows().size(), 1u);
    EXPECT_EQ(DiagramFiles(frame->ActiveChild()), std::vector<std::wstring>{folder + L"\\run2.kxm"});

    // the active window takes the next run
    EXPECT_EQ(Measure({PressStartAtIdle(), ConfirmSave(), NoCoastDownBox()}), "");
    ASSERT_EQ(DiagramWindows().size(), 1u);
    EXPECT_EQ(DiagramFiles(frame->ActiveChild()),
              (std::vector<std::wstring>{folder + L"\\run2.kxm", folder + L"\\run3.kxm"}));

    // filled up to seven: the next run is saved, the diagram only says it is full
    CDiagWnd* window = dynamic_cast<CDiagWnd*>(ObjectFromWindow(frame->ActiveChild()));
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(window->diag->AddFile(SampleMeasurement(L"measure-active\\runup.kxm")));
    ASSERT_EQ(DiagramFiles(frame->ActiveChild()).size(), 7u);
    std::vector<std::wstring> texts;
    EXPECT_EQ(Measure({PressStartAtIdle(), ConfirmSave(),
                       {"full", [] { return MessageBoxWithCaption(L"Fehler") != nullptr; },
                        [&texts] {
                            HWND box = MessageBoxWithCaption(L"Fehler");
                            texts = DescendantTexts(box);
                            PostMessageW(box, WM_COMMAND, IDOK, 0);
                        }}}),
              "");
    EXPECT_EQ(outcome, 2);
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Es können keine weiteren Dateien hinzugefügt werden"),
              texts.end());
    EXPECT_EQ(DiagramWindows().size(), 1u) << "no window opened";
    EXPECT_EQ(DiagramFiles(frame->ActiveChild()).size(), 7u);
    EXPECT_EQ(theSettings().desktopLastFile, folder + L"\\run4.kxm");
    EXPECT_NE(GetFileAttributesW((folder + L"\\run4.kxm").c_str()), INVALID_FILE_ATTRIBUTES) << "saved";
}

// The real kaltrenox.exe, driven from outside as the operator would: M,
// "Start", the save dialog confirmed, the run in a new diagram window, and
// the settings the run changed written back at the end. From outside the
// test cannot see where a cycling controller is (a Start at the end of a
// pull would record the declutched coast-down), so the car holds its speed
// in gear.
TEST(RealProgram, MeasuresSavesAndShowsTheRun) {
    const char* port = std::getenv("KX_STEADY_PORT");
    ASSERT_NE(port, nullptr) << "run through measure_command_wine_test.sh";
    const std::wstring folder = RunFolder(L"program");
    KaltrenoxProcess run(L"measure");
    run.SetIni(L"Hardware", L"ComPort", std::wstring(port, port + std::strlen(port)));
    run.SetIni(L"Desktop", L"LastFile", folder + L"\\run1.kxm");
    run.SetIni(L"Record", L"Period", L"4");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.AboutBox() == nullptr; }, 15000));

    run.PostCommand(ID_MEASURE);
    HWND dialog = nullptr;
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return (dialog = run.Dialog(kTitle)) != nullptr; }, 10000));
    auto text = [dialog](int id) { return KaltrenoxProcess::Text(GetDlgItem(dialog, id)); };
    EXPECT_EQ(text(IDC_STATUS_LINE), L"Warte auf Startknopf");
    // the controller starts unconfigured; commands go to it only while the
    // dialog is idle, so give it a moment (a few status frames) before "Start"
    Sleep(1500);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_START)));
    EXPECT_TRUE(KaltrenoxProcess::WaitUntil([&] { return text(IDC_START) == L"Stop"; }, 5000));
    EXPECT_TRUE(KaltrenoxProcess::WaitUntil([&] { return text(IDC_STATUS_LINE).empty(); }, 15000)) << "recording";

    HWND fileDialog = nullptr;
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] {
        fileDialog = run.FindTopLevel([](HWND w) { return GetDlgItem(w, cmb13) != nullptr; });
        return fileDialog != nullptr;
    }, 15000));
    PostMessageW(fileDialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.DiagramWindows().size() == 1; }, 10000))
        << "the run opens in a new diagram window";
    EXPECT_EQ(run.Dialog(kTitle), nullptr) << "the measurement dialog has closed";

    run.PostCommand(ID_APP_EXIT);
    ASSERT_TRUE(run.WaitForExit(15000));
    const std::wstring saved = folder + L"\\run2.kxm";
    EXPECT_EQ(run.Ini(L"Desktop", L"LastFile"), saved);
    EXPECT_NEAR(std::wcstod(run.Ini(L"Record", L"Gear").c_str(), nullptr), 3.0, 0.05) << "measured gear ratio";
    Measurement m;
    ASSERT_TRUE(readMeasurement(saved, m));
    EXPECT_GT(m.times[m.sampleCount - 1], 8000000);
    EXPECT_NEAR(m.gearRatio, 3.0, 0.05);
}
