#include "About.h"

#include "resource.h"

namespace {

constexpr int kLabelChars = 31;

}  // namespace

LRESULT CAbout::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_TIMER: {
        // OK closes a modeless dialog: the object is gone afterwards
        HWND window = hwnd;
        SendMessageW(window, WM_COMMAND, IDOK, 0);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(hwnd, kCloseTimer);
        break;
    }
    LRESULT result = CDlg::WndProc(message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        ShowVersion(IDC_PROGRAM_VERSION);
        ShowVersion(IDC_LIBRARY_VERSION);
        SetTimer(hwnd, kCloseTimer, kCloseAfterMs, nullptr);
    }
    return result;
}

// The label's template text is the format ("Programm V%s").
void CAbout::ShowVersion(int labelId) {
    wchar_t format[kLabelChars + 1] = {};
    GetDlgItemTextW(hwnd, labelId, format, kLabelChars + 1);
    wchar_t text[kLabelChars + 1 + 16] = {};
    wsprintfW(text, format, kVersion);
    SetDlgItemTextW(hwnd, labelId, text);
}
