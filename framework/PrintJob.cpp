#include "PrintJob.h"

#include "App.h"
#include "CommonDialogs.h"
#include "FrameworkState.h"
#include "resource.h"

namespace {

HWND MainWindowHandle() {
    CWnd* mainWindow = theFramework().mainWindow;
    return mainWindow ? mainWindow->hwnd : nullptr;
}

// One step of the application's message loop. Without an application object
// (tests, tools) a plain one stands in for this step; a quit message it takes
// is posted again so that the caller's own loop still ends.
int MessageLoopStep() {
    if (CApp* application = theFramework().application) return application->PumpMessage();
    CApp plainLoop;
    int goOn = plainLoop.PumpMessage();
    if (!goOn) PostQuitMessage(plainLoop.exitCode);
    return goOn;
}

}  // namespace

PrintState& thePrintState() {
    static PrintState state;
    return state;
}

bool PrinterChosen() {
    return PrinterDevNames() != nullptr;
}

std::wstring ChosenPrinterName() {
    HGLOBAL namesHandle = PrinterDevNames();
    if (!namesHandle) return L"";
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(namesHandle));
    if (!names) return L"";
    std::wstring device = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
    GlobalUnlock(namesHandle);
    return device;
}

bool CreatePrinterDC(HWND owner, CPrintDC* wrapper, uint16_t flags) {
    wrapper->hwnd = owner;
    wrapper->flags = flags;
    if (wrapper->hdc) DeleteDC(wrapper->hdc);
    wrapper->hdc = nullptr;

    HGLOBAL namesHandle = PrinterDevNames();
    HGLOBAL modeHandle = PrinterDevMode();
    if (!namesHandle) return false;
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(namesHandle));
    if (!names) return false;
    const auto* mode = modeHandle ? static_cast<const DEVMODEW*>(GlobalLock(modeHandle)) : nullptr;
    // the offsets count characters from the start of the record
    const auto* text = reinterpret_cast<const wchar_t*>(names);
    wrapper->hdc = CreateDCW(text + names->wDriverOffset, text + names->wDeviceOffset, text + names->wOutputOffset, mode);
    if (mode) GlobalUnlock(modeHandle);
    GlobalUnlock(namesHandle);
    return wrapper->hdc != nullptr;
}

bool StartPrintJob(CPrintDC* wrapper, const wchar_t* name) {
    PrintState& state = thePrintState();
    uint16_t flags = wrapper->flags;
    if (flags & kPrintNotifyOwner) SendMessageW(wrapper->hwnd, kPrintJobStarted, 0, reinterpret_cast<LPARAM>(name));
    if (flags & kPrintShowProgress) {
        CDlg* dialog = CreateModeless(kModelessDialog, new CPrintingDlg, L"PRINTDLG", wrapper->hwnd);
        if (dialog) {
            SetDlgItemTextW(dialog->hwnd, IDC_PRINT_DOCUMENT, name);
            state.progressDialog = dialog->hwnd;
        }
    }
    if (flags & kPrintDisableFrame) {
        if (HWND frame = MainWindowHandle()) EnableWindow(frame, FALSE);
    }
    if (flags & kPrintDisableOwner) EnableWindow(wrapper->hwnd, FALSE);

    state.abortRequested = 0;
    SetAbortProc(wrapper->hdc, &PrintAbortProc);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name;
    return state.startDocument(wrapper->hdc, &document) > 0;
}

void EndPrintJob(CPrintDC* wrapper) {
    PrintState& state = thePrintState();
    uint16_t flags = wrapper->flags;
    // Windows asks the abort procedure while it spools the pages, Wine only
    // when the document starts; asking once more here makes "Abbruch" cancel
    // the job on both.
    if (PrintAbortProc(wrapper->hdc, 0))
        EndDoc(wrapper->hdc);
    else
        AbortDoc(wrapper->hdc);
    if (flags & kPrintNotifyOwner) SendMessageW(wrapper->hwnd, kPrintJobEnded, 0, 0);
    // enabled before the dialog goes, so that activation returns to the program
    if (flags & kPrintDisableFrame) {
        if (HWND frame = MainWindowHandle()) EnableWindow(frame, TRUE);
    }
    if (flags & kPrintDisableOwner) EnableWindow(wrapper->hwnd, TRUE);
    if ((flags & kPrintShowProgress) && state.progressDialog) DestroyWindow(state.progressDialog);
}

BOOL CALLBACK PrintAbortProc(HDC, int) {
    PrintState& state = thePrintState();
    MSG message;
    while (!state.abortRequested && PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!MessageLoopStep()) return FALSE;
    }
    return state.abortRequested ? FALSE : TRUE;
}

LRESULT CPrintingDlg::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && thePrintState().progressDialog == hwnd) thePrintState().progressDialog = nullptr;
    return CDlg::WndProc(message, wParam, lParam);
}

int CPrintingDlg::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDCANCEL) {
        thePrintState().abortRequested = 1;
        return 1;
    }
    return CDlg::OnCommand(message, wParam, lParam);
}
