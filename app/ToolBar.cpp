#include "ToolBar.h"

#include <cwchar>

#include "FrameworkState.h"

int CToolBar::PrepareControl(HWND child) {
    wchar_t className[64] = {};
    wchar_t text[64] = {};
    GetClassNameW(child, className, 64);
    GetWindowTextW(child, text, 64);
    if (std::wcscmp(className, L"Button") != 0 || text[0] != L'@') return CDlg::PrepareControl(child);
    HANDLE icon = LoadImageW(FrameworkInstance(), text + 1, IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR);
    SendMessageW(child, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    return 1;
}

HWND CreateToolBarWindow(HWND frame) {
    CDlg* bar = CreateModeless(kToolWindowDialog, new CToolBar, L"TOOLBAR1", frame);
    if (!bar) return nullptr;
    // The layout stretches the bar with the frame: repaint it whole on every
    // size change. All dialogs share the class, so they all get these styles.
    ULONG_PTR style = GetClassLongPtrW(bar->hwnd, GCL_STYLE);
    SetClassLongPtrW(bar->hwnd, GCL_STYLE, style | CS_HREDRAW | CS_VREDRAW);
    return bar->hwnd;
}
