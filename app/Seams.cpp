#include "Seams.h"

#include "Correction.h"
#include "DiagWnd.h"
#include "DiagramHooks.h"
#include "EditData.h"
#include "MeasurementFileDialog.h"
#include "MsDlg.h"
#include "MyFrame.h"
#include "Options.h"
#include "RecoveredRun.h"
#include "SerialLink.h"
#include "Settings.h"

namespace {

INT_PTR EditDiagramData(HWND owner, DiagramState& diagram) {
    Measurement* slots[kMaxDiagramFiles] = {};
    for (int i = 0; i < kMaxDiagramFiles; ++i) slots[i] = diagram.measurements[i].get();
    return runEditData(owner, slots, kMaxDiagramFiles, diagram.cursor);
}

}  // namespace

void OpenControllerLink(int16_t port) {
    theSerialLink().open(port);
}

void CloseControllerLink() {
    theSerialLink().close();
}

CMDIChild* OpenDiagram(CMyFrame* frame, const std::wstring& path) {
    if (!frame || !frame->client) return nullptr;
    return OpenDiagramWindow(*frame, path);
}

// The dialog gets the application's file chooser, options and recovery
// file, and leaves the run's outcome in its record.
int RunMeasurementCommand(CMyFrame* frame) {
    MeasurementDialogData result;
    DoModal(new CMsDlg({&chooseMeasurementFile, &runOptions, RecoveryFilePath()}), &result, L"Speed", frame->hwnd);
    OpenRecordedRun(frame, result.runOutcome);
    return result.runOutcome;
}

void OpenRecordedRun(CMyFrame* frame, int resumeMode) {
    const std::wstring path = theSettings().desktopLastFile;
    switch (resumeMode) {
    case 1:
        OpenDiagram(frame, path);
        break;
    case 2: {
        CDiagWnd* active = dynamic_cast<CDiagWnd*>(ObjectFromWindow(frame->ActiveChild()));
        if (!active || !active->diag) {
            OpenDiagram(frame, path);
        } else if (!active->diag->IsFull()) {
            active->diag->AddFile(path);
        }
        break;
    }
    default:
        break;
    }
}

void RunOptionsCommand(CMyFrame* frame) {
    runOptions(frame->hwnd);
}

void InstallDiagramHooks() {
    DiagramHooks& hooks = theDiagramHooks();
    hooks.chooseMeasurementFile = &chooseMeasurementFile;
    hooks.editData = &EditDiagramData;
    hooks.correction = &runCorrection;
}
