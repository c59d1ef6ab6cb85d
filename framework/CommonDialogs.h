#pragma once
// Wrappers of the platform's printer and file dialogs. The printer chosen in
// any printer dialog stays the program's printer for the rest of the run.
#include <windows.h>
#include <commdlg.h>

#include "Dlg.h"

// The platform's print dialog record over the program-wide printer choice
// (device names and device mode). The dialog's window is bound to the object
// while it is shown; the object is freed by RunPrintDlg once the platform
// call has finished writing its record.
class CPrintDlg : public CDlg {
public:
    CPrintDlg();
    ~CPrintDlg() override;  // hands the (new) device handles back to the program

    PRINTDLGW record{};
    HGLOBAL* devNames;  // the program-wide pair
    HGLOBAL* devMode;

protected:
    void OnFinalMessage() override { Detach(); }  // RunPrintDlg frees the object
};

// Shows the print dialog (or, with PD_RETURNDEFAULT 0x400, fetches the default
// printer silently) and frees `dialog`. Answers the platform's answer.
BOOL RunPrintDlg(DWORD flags, HWND owner, CPrintDlg* dialog);

// The program's current printer choice.
HGLOBAL PrinterDevNames();
HGLOBAL PrinterDevMode();

// The platform's file dialog over the caller's path buffer (512 characters).
// The caller fills filter, default extension, initial directory and flags
// into `record`; RunOpen and RunSave answer 1 when the user confirmed.
class CFileDlg : public CDlg {
public:
    static constexpr int kPathSize = 512;

    explicit CFileDlg(wchar_t* pathBuffer, HWND owner = nullptr);
    int RunOpen();
    int RunSave();

    OPENFILENAMEW record{};
};
