#pragma once
// Helpers for the application tests: settings as the program starts with
// them, modal dialogs answered from inside their own loops, settings
// snapshots, and a real main frame in the test's own process.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "MyFrame.h"

struct Settings;

// The program-wide settings as a fresh start makes them: defaults, choice
// lists and texts from the string table.
void ResetSettings();

// Every persisted setting as its INI text, keyed "Section/Key".
std::map<std::wstring, std::wstring> SettingsSnapshot(const Settings& settings);

// Runs `action` once a visible dialog (#32770) of this thread with the caption
// `caption` is there (any caption when empty), from a timer that the modal
// loop showing it dispatches. Only one action is pending at a time.
void WhenDialogAppears(const std::wstring& caption, std::function<void(HWND dialog)> action);
bool DialogActionPending();

// Dispatches this thread's messages for `milliseconds`; a quit message stays queued.
void PumpFor(DWORD milliseconds);

// Removes a quit message the test caused by closing a main window.
bool TakeQuitMessage();

// A copy of the recorded run-up core/tests/data/runup.kxm as
// build/windows/app-runs/files/NAME (NAME may hold one folder); its full path.
std::wstring SampleMeasurement(const std::wstring& name);

// The file names of the measurements a diagram window shows, in order.
std::vector<std::wstring> DiagramFiles(HWND diagramWindow);

// Texts of all descendants of `window`, in Z order.
std::vector<std::wstring> DescendantTexts(HWND window);

// The main frame made as the program makes it, with a log of the commands
// that reach its OnCommand ("1544" or, with a notification code, "1539/1").
class LoggingFrame : public CMyFrame {
public:
    explicit LoggingFrame(std::vector<std::string>* log) : log_(log) {}
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<std::string>* log_;
};

// A diagram window stand-in for routing tests: logs the commands it is offered.
class LoggingChild : public CMDIChild {
public:
    LoggingChild(std::vector<std::string>* log, int wantsHelp) : log_(log), wantsHelp_(wantsHelp) {}
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;
    int WantsStatusHelp() override { return wantsHelp_; }

private:
    std::vector<std::string>* log_;
    int wantsHelp_;
};
LoggingChild* OpenLoggingChild(CMyFrame* frame, std::vector<std::string>* log, int wantsHelp = 1);
