#pragma once
// CMyFrame: the main MDI frame. Tool bar on top, status bar at the bottom,
// the diagram windows in the MDI client between. Every menu item, shortcut
// and tool-bar button arrives in its OnCommand; what the frame does not do
// itself goes on to the active diagram window.
#include "DiagramMessages.h"
#include "Frame.h"
#include "FrameMessages.h"

class CMyFrame : public CMDIFrame {
public:
    static constexpr int kNoHelp = -1;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND CreateStatusBar() override;
    HWND CreateToolBar() override;

    // The status bar shows the help text of command or control `id`; the text
    // is loaded only when the id differs from the one shown.
    void ShowStatusHelp(int id);

    // The frame's own commands (rows of the command table in FrameCommands.cpp).
    void OpenMeasurement();
    void Measure();
    void SetUpPrinter();
    void ShowAbout();
    void ShowOptions();
    void ShowHardware();

    int lastHelpId = kNoHelp;

private:
    void OnCreate();
    void OnSize(WPARAM sizeType);
    void OnSetCursor(HWND window);
    void OnMenuSelect(WPARAM wParam);
    void OnDropFiles(WPARAM drop, LPARAM lParam);
    void OnCommandLineFile();
    // A run the last session left unsaved: saved (and opened as
    // Record/ResumeMode says) or dropped, as the operator answers.
    void SettleRecoveredRun();
    void SelectAxes(LPARAM indexes);
    void CheckToolButton(int id, WPARAM checked);
    void OnDiagramClosed(HWND closing);
    void ResetToolBar();
    void FillAxisLists();
};
