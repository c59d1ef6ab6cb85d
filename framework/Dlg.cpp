#include "Dlg.h"

#include <cwchar>

#include "FrameworkState.h"

namespace {

constexpr int kFirstKeptOpenId = 256;  // commands from here on never end a dialog

// Everything is handled by the dialog object; the platform's dialog manager
// only does its default work.
INT_PTR CALLBACK IgnoringDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

}  // namespace

CDlg::~CDlg() {
    if (dialogFont) DeleteObject(dialogFont);
}

LRESULT CDlg::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        if (GetWindowLongW(hwnd, GWL_STYLE) & DS_ABSALIGN) CentreOnDesktop();
        break;
    case WM_DESTROY:
        if (dialogFont) DeleteObject(dialogFont);
        dialogFont = nullptr;
        break;
    case WM_INITDIALOG:
        OnInitDialogMessage();
        break;
    }
    return CWnd::WndProc(message, wParam, lParam);
}

// Centres the client area on the desktop's and keeps the dialog on top
// (start-up screen, measurement and hardware dialogs).
void CDlg::CentreOnDesktop() {
    RECT desktop, client, window;
    GetClientRect(GetDesktopWindow(), &desktop);
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &window);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    int x = (desktop.right - client.right) / 2 - (origin.x - window.left);
    int y = (desktop.bottom - client.bottom) / 2 - (origin.y - window.top);
    SetWindowPos(hwnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void CDlg::OnInitDialogMessage() {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    LOGFONTW logFont;
    if (font && GetObjectW(font, sizeof logFont, &logFont)) {
        logFont.lfWeight = FW_NORMAL;
        dialogFont = CreateFontIndirectW(&logFont);
    }
    ForEachChild(hwnd, [this](HWND child) {
        PrepareControl(child);
        return 0;
    });
    OnInitDialog();
}

int CDlg::PreTranslateMessage(MSG* message) {
    if (CWnd::PreTranslateMessage(message)) return 1;
    // the tool bar passes the frame's shortcuts on
    CWnd* mainWindow = theFramework().mainWindow;
    if (mode == kToolWindowDialog && mainWindow && mainWindow != this && mainWindow->PreTranslateMessage(message))
        return 1;
    return IsDialogMessageW(hwnd, message) ? 1 : 0;
}

int CDlg::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    int handled = CWnd::OnCommand(message, wParam, lParam);
    if (mode == kToolWindowDialog) return handled;  // the frame gets what is left
    int id = LOWORD(wParam);
    if (mode == kCommonDialog || id >= kFirstKeptOpenId) return 1;
    if (id == IDOK) {
        int failed = CommitData();
        if (failed) {
            MessageBeep(MB_ICONEXCLAMATION);
            FocusControl(failed);
            return 1;
        }
    }
    if (mode == kModalDialog)
        EndDialog(hwnd, id);
    else
        DestroyWindow(hwnd);
    return 1;
}

int CDlg::PrepareControl(HWND child) {
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    UINT setImage;
    if (std::wcscmp(className, L"Button") == 0)
        setImage = BM_SETIMAGE;
    else if (std::wcscmp(className, L"Static") == 0)
        setImage = STM_SETIMAGE;
    else
        return 0;
    wchar_t text[64] = {};
    GetWindowTextW(child, text, 64);
    if (text[0] != L'@') return 0;
    HANDLE icon = LoadImageW(FrameworkInstance(), text + 1, IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
    SendMessageW(child, setImage, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    return 1;
}

void CDlg::FocusControl(int controlId) {
    HWND control = GetDlgItem(hwnd, controlId);
    if (control) SendMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

size_t CDlg::Exchange(ExchangeOp op, void* record) {
    (void)op;
    (void)record;
    return 0;
}

int CDlg::Validate(void* record) {
    (void)record;
    return 0;
}

// The controls' values go to a fresh scratch record first; the caller's record
// receives them only when Validate accepts the scratch record.
int CDlg::CommitData() {
    if (!data) return 0;
    if (Exchange(kExchangeSize, data.get()) == 0) return 0;
    void* scratch = data.NewScratch();
    Exchange(kExchangeStore, scratch);
    int failed = Validate(scratch);
    if (failed == 0) Exchange(kExchangeStore, data.get());
    Exchange(kExchangeClear, scratch);
    data.DeleteScratch(scratch);
    return failed;
}

void CDlg::OnInitDialog() {
    if (data) Exchange(kExchangeLoad, data.get());
}

INT_PTR DoModal(CDlg* dialog, DataRecord data, const wchar_t* templateName, HWND parent) {
    dialog->mode = kModalDialog;
    dialog->data = data;
    ArmCreationHook(dialog);
    INT_PTR result = DialogBoxParamW(FrameworkInstance(), templateName, parent, &IgnoringDialogProc, 0);
    // a dialog that never got its window cannot free itself
    if (DisarmCreationHook()) delete dialog;
    return result;
}

CDlg* CreateModeless(int mode, CDlg* dialog, const wchar_t* templateName, HWND parent) {
    dialog->data = nullptr;
    dialog->mode = mode;
    ArmCreationHook(dialog);
    HWND window = CreateDialogParamW(FrameworkInstance(), templateName, parent, &IgnoringDialogProc, 0);
    bool unbound = DisarmCreationHook();
    if (!window) {
        if (unbound) delete dialog;
        return nullptr;
    }
    if (unbound) dialog->Attach(window);
    return dialog;
}
