#include "Seams.h"

#include "Correction.h"
#include "DiagWnd.h"
#include "DiagramHooks.h"
#include "EditData.h"
#include "MeasurementFileDialog.h"
#include "MyFrame.h"
#include "Options.h"
#include "SerialLink.h"

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

// STAND-IN until the measurement dialog is in the program.
void RunMeasurementCommand(CMyFrame* frame) {
    (void)frame;
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
