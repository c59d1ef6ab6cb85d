#pragma once
// Runs the real kaltrenox.exe under test and drives it from outside, as a
// user would: its own folder with a copy of the program and a fresh
// KALTRNX.INI, windows found by class and text, commands sent as WM_COMMAND,
// texts read back, the INI read after the program has ended.
//
//   KaltrenoxProcess run(L"startup");
//   run.SetIni(L"Supervisor", L"WindowTitle", L"Prüfstand 2");
//   ASSERT_TRUE(run.Start(L"Z:\\data\\run1.kxm"));
//   EXPECT_EQ(KaltrenoxProcess::Text(run.frame), L"Prüfstand 2");
//   run.PostCommand(518);  // "&Beenden"
//   ASSERT_TRUE(run.WaitForExit(10000));
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class KaltrenoxProcess {
public:
    // The folder build/windows/app-runs/NAME, emptied of an old KALTRNX.INI,
    // with a copy of kaltrenox.exe from beside the test program.
    explicit KaltrenoxProcess(const std::wstring& name);
    ~KaltrenoxProcess();  // ends a program still running (TerminateProcess)
    KaltrenoxProcess(const KaltrenoxProcess&) = delete;
    KaltrenoxProcess& operator=(const KaltrenoxProcess&) = delete;

    // KALTRNX.INI beside the copy, written before Start and read after exit.
    void SetIni(const wchar_t* section, const wchar_t* key, const std::wstring& value);
    std::wstring Ini(const wchar_t* section, const wchar_t* key) const;

    // Starts the program with `arguments` as its command line and waits (up
    // to 20 s) until its main frame exists; answers whether it does. A
    // program started before must have ended. The tick counts at which the
    // About box and the frame were first seen go to the two pointers.
    bool Start(const std::wstring& arguments = std::wstring(), DWORD* aboutSeen = nullptr, DWORD* frameSeen = nullptr);
    // Waits until the program has ended; answers whether it has.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr);
    bool Running() const;

    // The program's windows.
    std::vector<HWND> TopLevelWindows() const;  // visible ones
    HWND FindTopLevel(const std::function<bool(HWND)>& test) const;
    HWND AboutBox() const;                           // a box showing "Deutsche Version"
    HWND Dialog(const std::wstring& caption) const;  // a visible dialog with this caption
    HWND Child(const wchar_t* className) const;      // a direct child of the frame
    HWND MdiClient() const { return Child(L"MDIClient"); }
    HWND ToolBar() const { return Child(L"#32770"); }
    HWND StatusBar() const;
    std::vector<HWND> DiagramWindows() const;  // the MDI children

    // Commands as menu, shortcut or tool bar deliver them.
    LRESULT Command(WORD id) const;      // waits until handled (not for modal dialogs)
    void PostCommand(WORD id) const;     // returns at once
    // Waits until the program has handled everything sent before.
    bool Settle() const;

    static std::wstring Text(HWND window);
    static std::wstring ClassName(HWND window);
    // Polls `condition` every 20 ms for up to `milliseconds`.
    static bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds);
    // Writes what the screen shows of `window` as build/screenshots/FILE (PNG).
    // Taken from the screen: on an X display shared with other Wine prefixes
    // their windows can cover it.
    static bool SaveScreenshot(HWND window, const wchar_t* fileName);
    // The folder of the test program (build/windows/bin).
    static std::wstring ProgramFolder();

    std::wstring folder;
    std::wstring exePath;
    std::wstring iniPath;
    HWND frame = nullptr;
    PROCESS_INFORMATION process{};
};
