#include "CommonDialogs.h"

#include "FrameworkState.h"

CPrintDlg::CPrintDlg() {
    FrameworkState& fw = theFramework();
    devNames = &fw.printerDevNames;
    devMode = &fw.printerDevMode;
    record.lStructSize = sizeof record;
    record.hDevNames = *devNames;
    record.hDevMode = *devMode;
}

CPrintDlg::~CPrintDlg() {
    *devNames = record.hDevNames;
    *devMode = record.hDevMode;
}

BOOL RunPrintDlg(DWORD flags, HWND owner, CPrintDlg* dialog) {
    dialog->record.hwndOwner = owner;
    dialog->record.Flags = flags;
    dialog->record.hDevNames = *dialog->devNames;
    dialog->record.hDevMode = *dialog->devMode;
    BOOL answer;
    if (flags & PD_RETURNDEFAULT) {
        // PD_RETURNDEFAULT wants no device handles going in
        if (!dialog->record.hDevNames && !dialog->record.hDevMode) {
            answer = PrintDlgW(&dialog->record);
        } else {
            PRINTDLGW probe{};
            probe.lStructSize = sizeof probe;
            probe.hwndOwner = owner;
            probe.Flags = flags;
            answer = PrintDlgW(&probe);
            if (answer) {
                GlobalFree(dialog->record.hDevNames);
                GlobalFree(dialog->record.hDevMode);
                dialog->record.hDevNames = probe.hDevNames;
                dialog->record.hDevMode = probe.hDevMode;
            }
        }
    } else {
        dialog->data = nullptr;
        dialog->mode = kCommonDialog;
        ArmCreationHook(dialog);
        answer = PrintDlgW(&dialog->record);
        DisarmCreationHook();
        dialog->Detach();
    }
    delete dialog;
    return answer;
}

HGLOBAL PrinterDevNames() {
    return theFramework().printerDevNames;
}

HGLOBAL PrinterDevMode() {
    return theFramework().printerDevMode;
}

CFileDlg::CFileDlg(wchar_t* pathBuffer, HWND owner) {
    mode = kCommonDialog;
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpstrFile = pathBuffer;
    record.nMaxFile = kPathSize;
}

int CFileDlg::RunOpen() {
    return GetOpenFileNameW(&record) ? 1 : 0;
}

int CFileDlg::RunSave() {
    return GetSaveFileNameW(&record) ? 1 : 0;
}
