// The frame's commands: one table row per command the frame carries out
// itself; everything else (add, print, the diagram views, "&Beenden") goes
// the default way: tile and cascade in the MDI frame, then the active diagram
// window, then the main window's exit handling. Also the files that arrive
// by drag and drop and on the command line.
#include <windows.h>
#include <shellapi.h>

#include "About.h"
#include "CommonDialogs.h"
#include "Hardware.h"
#include "MeasurementFileDialog.h"
#include "MyApp.h"
#include "MyFrame.h"
#include "RecoveredRun.h"
#include "Seams.h"
#include "Settings.h"
#include "resource.h"

namespace {

struct FrameCommand {
    WORD id;
    void (CMyFrame::*run)();
    bool thenDefault;  // the default handling follows
};

const FrameCommand kFrameCommands[] = {
    {ID_FILE_OPEN,        &CMyFrame::OpenMeasurement, false},
    {ID_MEASURE,          &CMyFrame::Measure,         false},
    {ID_FILE_PRINT_SETUP, &CMyFrame::SetUpPrinter,    false},
    {ID_APP_ABOUT,        &CMyFrame::ShowAbout,       true},
    {ID_OPTIONS,          &CMyFrame::ShowOptions,     false},
    {ID_HARDWARE,         &CMyFrame::ShowHardware,    false},
};

}  // namespace

int CMyFrame::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam);
    if ((id == ID_VIEW_PAGE || id == ID_LAMBDA_CURVE) && !ActiveChild()) {
        // the check boxes check themselves; with no diagram to switch they stay unpressed
        CheckToolButton(id, 0);
        return 1;
    }
    for (const FrameCommand& command : kFrameCommands) {
        if (command.id != LOWORD(wParam)) continue;
        (this->*command.run)();
        if (!command.thenDefault) return 1;
        break;
    }
    return CMDIFrame::OnCommand(message, wParam, lParam);
}

void CMyFrame::OpenMeasurement() {
    if (chooseMeasurementFile(hwnd, kChooseOpen) == 1) OpenDiagram(this, theSettings().desktopLastFile);
}

void CMyFrame::Measure() {
    RunMeasurementCommand(this);
}

// The printer chosen here is the one the diagrams print on.
void CMyFrame::SetUpPrinter() {
    RunPrintDlg(PD_PRINTSETUP, hwnd, new CPrintDlg);
}

// A new box every time; each closes by itself.
void CMyFrame::ShowAbout() {
    CreateModeless(kModelessDialog, new CAbout, L"KALTRNX", nullptr);
}

void CMyFrame::ShowOptions() {
    RunOptionsCommand(this);
}

// The values stay in the settings and reach the INI file at program end.
void CMyFrame::ShowHardware() {
    DoModal(new CHardware, &theSettings(), L"HARDWARE", hwnd);
}

// All dropped files go into one new diagram window, which takes the drop
// message as it came and adds the files in order.
void CMyFrame::OnDropFiles(WPARAM drop, LPARAM lParam) {
    CMDIChild* window = OpenDiagram(this, std::wstring());
    if (window)
        SendMessageW(window->hwnd, WM_DROPFILES, drop, lParam);
    else
        DragFinish(reinterpret_cast<HDROP>(drop));
}

void CMyFrame::OnCommandLineFile() {
    OpenDiagram(this, theApp().CommandLinePath());
}

void CMyFrame::SettleRecoveredRun() {
    if (OfferRecoveredRun(hwnd)) OpenRecordedRun(this, theSettings().recordResumeMode);
}
