#include "Frame.h"

#include "FrameworkState.h"

namespace {

constexpr DWORD kMdiClientStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | MDIS_ALLCHILDSTYLES;

void PlaceChild(HWND child, int x, int y, int width, int height) {
    if (child) MoveWindow(child, x, y, width, height, TRUE);
}

}  // namespace

LRESULT CFrame::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        statusBar = CreateStatusBar();
        toolBar = CreateToolBar();
        client = CreateClient();
        break;
    case WM_SIZE:
        LayOut(LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    return CWnd::WndProc(message, wParam, lParam);
}

void CFrame::LayOut(int width, int height) {
    int clientTop = toolBar ? kToolBarHeight : 0;
    int clientBottom = statusBar ? height - kStatusBarHeight : height;
    PlaceChild(toolBar, 0, 0, width, kToolBarHeight);
    PlaceChild(statusBar, 0, height - kStatusBarHeight, width, kStatusBarHeight);
    PlaceChild(client, 0, clientTop, width, clientBottom > clientTop ? clientBottom - clientTop : 0);
}

int CMDIFrame::PreTranslateMessage(MSG* message) {
    if (client && TranslateMDISysAccel(client, message)) return 1;
    return CWnd::PreTranslateMessage(message);
}

int CMDIFrame::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case kTileCommand:
        SendMessageW(client, WM_MDITILE, MDITILE_HORIZONTAL, 0);
        return 1;
    case kCascadeCommand:
        SendMessageW(client, WM_MDICASCADE, 0, 0);
        return 1;
    }
    if (CWnd* child = ObjectFromWindow(ActiveChild())) {
        if (child->OnCommand(message, wParam, lParam)) return 1;
    }
    return CWnd::OnCommand(message, wParam, lParam);
}

LRESULT CMDIFrame::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefFrameProcW(hwnd, client, message, wParam, lParam);
}

HWND CMDIFrame::CreateClient() {
    HMENU menu = GetMenu(hwnd);
    CLIENTCREATESTRUCT create{};
    create.hWindowMenu = menu ? GetSubMenu(menu, 1) : nullptr;
    create.idFirstChild = kFirstChildId;
    return CreateWindowExW(0, L"MDICLIENT", nullptr, kMdiClientStyle, 0, 0, 0, 0, hwnd, nullptr,
                           FrameworkInstance(), &create);
}

HWND CMDIFrame::ActiveChild() const {
    if (!client) return nullptr;
    return reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
}

LRESULT CMDIChild::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefMDIChildProcW(hwnd, message, wParam, lParam);
}

CMDIChild* CreateMDIChild(CMDIChild* object, HWND mdiClient, const wchar_t* className, const wchar_t* title,
                          DWORD style) {
    MDICREATESTRUCTW create{};
    create.szClass = className;
    create.szTitle = title;
    create.hOwner = FrameworkInstance();
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = style;
    ArmCreationHook(object);
    HWND window = reinterpret_cast<HWND>(SendMessageW(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    bool unbound = DisarmCreationHook();
    if (!window) {
        if (unbound) delete object;
        return nullptr;
    }
    if (unbound) object->Attach(window);
    return object;
}
