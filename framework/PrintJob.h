#pragma once
// Printing on the program's printer: a printer device context from the
// printer choice, and the print job around the pages, with the progress
// dialog "PRINTDLG" whose button "Abbruch" cancels the job through the
// abort procedure.
#include <windows.h>

#include <cstdint>
#include <string>

#include "DC.h"
#include "Dlg.h"
#include "FrameworkMessages.h"

// Flags of a CPrintDC: what StartPrintJob and EndPrintJob do around the job.
enum PrintJobFlag : uint16_t {
    kPrintNotifyOwner = 1,     // the owner gets kPrintJobStarted with the name, then kPrintJobEnded
    kPrintShowProgress = 2,    // the progress dialog "PRINTDLG", owned by the owner window
    kPrintDisableFrame = 4,    // the main window stays disabled during the job
    kPrintDisableOwner = 8,    // the owner window stays disabled during the job
};

// The diagram prints with the progress dialog while the frame is disabled;
// contexts that only serve to read page metrics start no job.
constexpr uint16_t kPrintPageFlags = kPrintShowProgress | kPrintDisableFrame;                // 6
constexpr uint16_t kPrintMetricsFlags = kPrintShowProgress | kPrintDisableOwner;             // 10


// The program-wide state of printing. One job runs at a time: the main window
// is disabled while it runs.
struct PrintState {
    int abortRequested = 0;          // set by "Abbruch", read by the abort procedure
    HWND progressDialog = nullptr;   // the running job's "PRINTDLG", if any
    // How a job's document is started; a test puts a printer that refuses it here.
    int(WINAPI* startDocument)(HDC, const DOCINFOW*) = &StartDocW;
};

PrintState& thePrintState();

// Whether a printer has been chosen (default printer or a printer dialog).
bool PrinterChosen();

// The chosen printer's device name ("" without a choice), for messages.
std::wstring ChosenPrinterName();

// A device context for the chosen printer, from the device names (driver,
// device and output at the offsets the record gives) and the device mode.
// Stores owner and flags in `wrapper` and replaces a context it held before.
// Answers false (and leaves wrapper->hdc null) when there is no printer
// choice or the printer refuses.
bool CreatePrinterDC(HWND owner, CPrintDC* wrapper, uint16_t flags);

// Before the first page: owner notification, progress dialog, windows
// disabled as the flags say, abortRequested cleared, the abort procedure
// installed, and the document started under `name`. Answers whether the
// printer accepted the document.
bool StartPrintJob(CPrintDC* wrapper, const wchar_t* name);

// After the last page: the document ended (or, when the abort procedure
// answers FALSE, cancelled), then the flags' steps undone in reverse (owner
// notified, windows enabled, progress dialog destroyed).
void EndPrintJob(CPrintDC* wrapper);

// The abort procedure of every print job: while nothing asked to abort and a
// message is waiting, one step of the application's message loop, so the
// progress dialog answers while the page spools. FALSE cancels the job: after
// "Abbruch", or when the step reports that the program is quitting.
BOOL CALLBACK PrintAbortProc(HDC dc, int error);

// The progress dialog: "Drucke...", the document name (control 256) and
// "Abbruch" (id 2), which asks the abort procedure to cancel.
class CPrintingDlg : public CDlg {
public:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;
};
