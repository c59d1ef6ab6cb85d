// The real kaltrenox.exe, started in a folder of its own with a fresh
// KALTRNX.INI and driven from outside: start-up and shut-down order, the
// settings written back, the frame reopening as it was left, the
// command-line file, old files, the hardware dialog, About boxes, the
// serial line and the status-bar help.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "KaltrenoxProcess.h"
#include "resource.h"

namespace {

std::wstring Widen(const char* text) {
    return std::wstring(text, text + strlen(text));
}

std::wstring SampleFile() {
    std::wstring path = Widen(KX_DATA_DIR) + L"/runup.kxm";
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

// Ends the program the way the user does and waits for it.
void Quit(KaltrenoxProcess& run) {
    run.PostCommand(ID_APP_EXIT);
    DWORD code = 99;
    ASSERT_TRUE(run.WaitForExit(15000, &code)) << "the program ends after \"&Beenden\"";
    EXPECT_EQ(code, 0u);
}

}  // namespace

TEST(Program, StartsBehindItsAboutBoxAndWritesTheSettingsBackAtTheEnd) {
    KaltrenoxProcess run(L"startup");
    run.SetIni(L"Supervisor", L"WindowTitle", L"Prüfstand 2");
    run.SetIni(L"Hardware", L"ComPort", L"7");
    run.SetIni(L"Time", L"Format", L"");
    run.SetIni(L"Graph", L"Smoothing", L"2");
    DWORD aboutSeen = 0, frameSeen = 0;
    ASSERT_TRUE(run.Start(L"", &aboutSeen, &frameSeen));

    EXPECT_NE(aboutSeen, 0u) << "the About box is the start-up screen";
    EXPECT_LE(aboutSeen, frameSeen) << "it appears no later than the frame";
    EXPECT_EQ(KaltrenoxProcess::Text(run.frame), L"Prüfstand 2") << "the settings are read before the frame is made";
    EXPECT_TRUE(run.DiagramWindows().empty()) << "no command line, no diagram window";
    EXPECT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.AboutBox() == nullptr; }, 15000))
        << "the start-up screen closes by itself";
    EXPECT_TRUE(run.Running());

    Quit(run);
    // completed at start, written back at the end
    EXPECT_EQ(run.Ini(L"Time", L"Format"), L"erstellt am %d.%m.%Y um %H:%M Uhr");
    EXPECT_EQ(run.Ini(L"Page", L"Headline"), L"Kaltrenox Leistungsermittlung");
    EXPECT_EQ(run.Ini(L"Supervisor", L"WindowTitle"), L"Prüfstand 2");
    EXPECT_EQ(run.Ini(L"Hardware", L"ComPort"), L"7");
    EXPECT_EQ(run.Ini(L"Desktop", L"LastFile"), L"*.kxm");
    EXPECT_EQ(run.Ini(L"Supervisor", L"CmdShow"), L"0");
    EXPECT_EQ(run.Ini(L"Mechanics", L"Wheel"), L"1.25");
    EXPECT_EQ(run.Ini(L"Graph", L"Smoothing"), L"2") << "the smoothing choice survives";
    EXPECT_EQ(run.Ini(L"Desktop", L"LastExport"), L"");
}

namespace {

// The line speed of COM `port` as the driver has it (0: no such port).
DWORD LineSpeed(int port) {
    std::wstring name = L"\\\\.\\COM" + std::to_wstring(port);
    HANDLE line = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (line == INVALID_HANDLE_VALUE) return 0;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    DWORD speed = GetCommState(line, &dcb) ? dcb.BaudRate : 0;
    CloseHandle(line);
    return speed;
}

bool SetLineSpeed(int port, DWORD speed) {
    std::wstring name = L"\\\\.\\COM" + std::to_wstring(port);
    HANDLE line = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (line == INVALID_HANDLE_VALUE) return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    bool done = GetCommState(line, &dcb);
    dcb.BaudRate = speed;
    done = done && SetCommState(line, &dcb);
    CloseHandle(line);
    return done;
}

}  // namespace

// The controller's line is opened at start-up on Hardware/ComPort and set to
// 9600 baud: a line left at 2400 baud by someone else is found at 9600 while
// the program runs, and only the configured one.
TEST(Program, OpensTheControllerLineOfItsSettingsAtStart) {
    const char* port = getenv("KX_CONTROLLER_PORT");
    const char* missing = getenv("KX_MISSING_PORT");
    if (!port || !missing) GTEST_SKIP() << "needs the pseudo-terminal of app_process_wine_test.sh";
    const struct {
        const char* comPort;
        DWORD speed;
    } runs[] = {{port, 9600}, {missing, 2400}};
    KaltrenoxProcess run(L"serial");
    for (const auto& r : runs) {
        SCOPED_TRACE(::testing::Message() << "Hardware/ComPort " << r.comPort);
        ASSERT_TRUE(SetLineSpeed(atoi(port), 2400));
        ASSERT_EQ(LineSpeed(atoi(port)), 2400u);
        run.SetIni(L"Hardware", L"ComPort", Widen(r.comPort));
        ASSERT_TRUE(run.Start()) << "a missing port does not stop the start";
        EXPECT_EQ(LineSpeed(atoi(port)), r.speed);
        Quit(run);
    }
}

TEST(Program, ReopensMinimisedOrMaximisedAsItWasLeft) {
    KaltrenoxProcess run(L"cmdshow");
    const struct {
        int show;
        const wchar_t* stored;
        bool iconic, zoomed;
    } rounds[] = {{SW_MINIMIZE, L"536870912", true, false},
                  {SW_MAXIMIZE, L"16777216", false, true},
                  {SW_RESTORE, L"0", false, false}};
    for (const auto& round : rounds) {
        SCOPED_TRACE(::testing::Message() << "show command " << round.show);
        ASSERT_TRUE(run.Start());
        ShowWindowAsync(run.frame, round.show);
        run.Settle();
        Quit(run);
        EXPECT_EQ(run.Ini(L"Supervisor", L"CmdShow"), round.stored);
        ASSERT_TRUE(run.Start());
        EXPECT_EQ(IsIconic(run.frame) != 0, round.iconic);
        EXPECT_EQ(IsZoomed(run.frame) != 0, round.zoomed);
        Quit(run);
    }
}

TEST(Program, OpensTheCommandLineFileInADiagramWindow) {
    KaltrenoxProcess run(L"commandline");
    ASSERT_TRUE(run.Start(SampleFile()));
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.DiagramWindows().size() == 1; }, 10000));
    EXPECT_EQ(KaltrenoxProcess::Text(run.DiagramWindows()[0]), L"Diagramm-Fenster");
    Quit(run);
}

TEST(Program, AnOldMeasurementFileIsAnnouncedBeforeItIsShown) {
    KaltrenoxProcess run(L"oldfile");
    std::wstring old = SampleFile();
    old.replace(old.rfind(L"runup"), 5, L"v10");
    ASSERT_TRUE(run.Start(old));
    HWND notice = nullptr;
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return (notice = run.Dialog(L"Update-Info")) != nullptr; }, 10000));
    EXPECT_EQ(GetWindow(notice, GW_OWNER), nullptr) << "a box of its own";
    bool text = false;
    for (HWND child = GetWindow(notice, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (KaltrenoxProcess::Text(child) == L"Alte Meßwertdatei. Wellenumfang wird neu gesetzt.") text = true;
    EXPECT_TRUE(text);
    PostMessageW(notice, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.DiagramWindows().size() == 1; }, 10000));
    // the short run coasts down too briefly for the loss point: the diagram says so
    HWND warning = nullptr;
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return (warning = run.Dialog(old)) != nullptr; }, 10000));
    PostMessageW(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return !IsWindow(warning); }, 10000));

    // the upgraded file counts as changed: ending asks first, and Abbruch
    // keeps the program running
    const struct {
        int answer;
        bool ends;
    } answers[] = {{IDCANCEL, false}, {IDNO, true}};
    for (const auto& a : answers) {
        run.PostCommand(ID_APP_EXIT);
        HWND question = nullptr;
        ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return (question = run.Dialog(old)) != nullptr; }, 10000));
        bool asks = false;
        for (HWND child = GetWindow(question, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (KaltrenoxProcess::Text(child) == L"Änderungen speichern?") asks = true;
        EXPECT_TRUE(asks);
        PostMessageW(question, WM_COMMAND, a.answer, 0);
        ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return !IsWindow(question); }, 10000));
        EXPECT_EQ(run.WaitForExit(a.ends ? 15000 : 500), a.ends) << "answer " << a.answer;
    }
}

// Explorer starts the program again for a double-clicked file: the second
// program hands the file to the first and ends. The file is an old one under
// a name outside the ANSI code page, so the running program's notice about
// it shows that it read the very file.
TEST(Program, ASecondStartHandsItsFileToTheRunningProgram) {
    KaltrenoxProcess run(L"second-start");
    ASSERT_TRUE(run.Start(SampleFile()));
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.DiagramWindows().size() == 1; }, 10000));
    std::wstring old = SampleFile();
    old.replace(old.rfind(L"runup"), 5, L"v10");
    const std::wstring named = run.folder + L"\\Prüfstand_Ω.kxm";
    ASSERT_TRUE(CopyFileW(old.c_str(), named.c_str(), FALSE));

    std::wstring commandLine = L"\"" + run.exePath + L"\" \"" + named + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second{};
    ASSERT_TRUE(CreateProcessW(run.exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               run.folder.c_str(), &startup, &second));
    EXPECT_EQ(WaitForSingleObject(second.hProcess, 20000), WAIT_OBJECT_0) << "the second start ends by itself";
    DWORD code = 99;
    GetExitCodeProcess(second.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);

    HWND notice = nullptr;
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return (notice = run.Dialog(L"Update-Info")) != nullptr; }, 10000))
        << "the running program reads the handed-over file";
    DWORD foreground = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &foreground);
    EXPECT_EQ(foreground, run.process.dwProcessId) << "the running program comes to the front";
    PostMessageW(notice, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.DiagramWindows().size() == 2; }, 10000))
        << "in a diagram window of its own";
    HWND warning = nullptr;  // the short run's loss point
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return (warning = run.Dialog(named)) != nullptr; }, 10000));
    PostMessageW(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return !IsWindow(warning); }, 10000));

    run.PostCommand(ID_APP_EXIT);  // the upgraded file asks to be saved
    HWND question = nullptr;
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return (question = run.Dialog(named)) != nullptr; }, 10000));
    PostMessageW(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(run.WaitForExit(15000));
}

TEST(Program, HardwareDialogValuesReachTheIniFile) {
    KaltrenoxProcess run(L"hardware");
    run.SetIni(L"Mechanics", L"Wheel", L"0.333333333");
    ASSERT_TRUE(run.Start());
    run.PostCommand(ID_HARDWARE);
    HWND dialog = nullptr;
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return (dialog = run.Dialog(L"Hardware")) != nullptr; }, 10000));
    EXPECT_EQ(KaltrenoxProcess::Text(GetDlgItem(dialog, IDC_PULSE_COUNT)), L"16");
    EXPECT_EQ(KaltrenoxProcess::Text(GetDlgItem(dialog, IDC_WHEEL)), L"0.333333");
    EXPECT_EQ(KaltrenoxProcess::Text(GetDlgItem(dialog, IDC_PCORR)), L"1.");
    SendMessageW(GetDlgItem(dialog, IDC_PULSE_COUNT), CB_SETCURSEL, 0, 0);  // "1"
    SendMessageW(GetDlgItem(dialog, IDC_WHEEL), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    SendMessageW(GetDlgItem(dialog, IDC_MCORR), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1.05"));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return !IsWindow(dialog); }, 10000));
    Quit(run);
    EXPECT_EQ(run.Ini(L"Hardware", L"PulseCount"), L"0");
    EXPECT_EQ(run.Ini(L"Mechanics", L"Wheel"), L"0.");
    EXPECT_EQ(run.Ini(L"Hardware", L"MCorr"), L"1.05");
}

TEST(Program, AboutBoxesFromTheMenuCloseByThemselves) {
    KaltrenoxProcess run(L"about");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.AboutBox() == nullptr; }, 15000));
    run.Command(ID_APP_ABOUT);
    run.Command(ID_APP_ABOUT);
    int boxes = 0;
    for (HWND window : run.TopLevelWindows())
        if (KaltrenoxProcess::ClassName(window) == L"#32770") ++boxes;
    EXPECT_EQ(boxes, 2) << "each command opens a box of its own";
    EXPECT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.AboutBox() == nullptr; }, 15000));
    Quit(run);
}

TEST(Program, ShowsTheHelpOfTheButtonUnderTheMouse) {
    KaltrenoxProcess run(L"statushelp");
    ASSERT_TRUE(run.Start(SampleFile()));
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.DiagramWindows().size() == 1; }, 10000));
    const struct {
        int button;
        const wchar_t* help;
    } buttons[] = {{ID_MEASURE, L"Messung starten"}, {ID_ZOOM_ALL, L"Zoom: alles anzeigen"}};
    for (const auto& b : buttons) {
        HWND button = GetDlgItem(run.ToolBar(), b.button);
        SendMessageW(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        run.Settle();
        EXPECT_EQ(KaltrenoxProcess::Text(run.StatusBar()), b.help);
    }
    Quit(run);
}
