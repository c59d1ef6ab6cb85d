#include "Wnd.h"

#include <cstdint>
#include <cwchar>

#include "DC.h"
#include "FrameworkState.h"
#include "resource.h"

namespace {

LPCWSTR PropertyName() {
    return MAKEINTATOM(WindowPropertyAtom());
}

LRESULT CALLBACK CreationHookProc(int code, WPARAM wParam, LPARAM lParam) {
    FrameworkState& fw = theFramework();
    HHOOK hook = fw.creationHook;
    if (code == HC_ACTION && fw.pendingObject) {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        // Top-level windows ask for their size limits before WM_NCCREATE;
        // whichever comes first binds, so the object sees it too.
        if ((call->message == WM_NCCREATE || call->message == WM_GETMINMAXINFO) &&
            !ObjectFromWindow(call->hwnd)) {
            CWnd* object = fw.pendingObject;
            fw.pendingObject = nullptr;
            fw.creationHook = nullptr;
            UnhookWindowsHookEx(hook);
            object->Attach(call->hwnd);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

struct ChildWalk {
    const std::function<int(HWND)>* callback;
    int count;
};

BOOL CALLBACK ChildWalkStep(HWND child, LPARAM context) {
    ChildWalk* walk = reinterpret_cast<ChildWalk*>(context);
    if (!*walk->callback) {
        ++walk->count;
        return TRUE;
    }
    int answer = (*walk->callback)(child);
    if (answer & kChildCount) ++walk->count;
    return (answer & kChildStop) ? FALSE : TRUE;
}

}  // namespace

CWnd* ObjectFromWindow(HWND window) {
    if (!window) return nullptr;
    return static_cast<CWnd*>(GetPropW(window, PropertyName()));
}

LRESULT CALLBACK CommonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* object = ObjectFromWindow(window)) return object->WndProc(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

CWnd::~CWnd() {
    Detach();
}

void CWnd::Attach(HWND window) {
    hwnd = window;
    SetPropW(window, PropertyName(), this);
    previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CommonWindowProc)));
}

void CWnd::Detach() {
    if (!hwnd) return;
    if (previousProc) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
    if (ObjectFromWindow(hwnd) == this) RemovePropW(hwnd, PropertyName());
    hwnd = nullptr;
    previousProc = nullptr;
}

int CWnd::PreTranslateMessage(MSG* message) {
    return accelerators && TranslateAcceleratorW(hwnd, accelerators, message);
}

LRESULT CWnd::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:           return OnPaintMessage(message, wParam, lParam);
    case WM_CLOSE:           return CanCloseTree(this) ? DefaultProc(message, wParam, lParam) : 0;
    case WM_QUERYENDSESSION: return CanCloseTree(this);
    case WM_NCDESTROY:       return OnLastMessage(message, wParam, lParam);
    case WM_COMMAND:         return RouteCommand(message, wParam, lParam);
    default:                 return DefaultProc(message, wParam, lParam);
    }
}

int CWnd::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    (void)message;
    (void)lParam;
    if (LOWORD(wParam) == ID_APP_EXIT && theFramework().mainWindow == this) {
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 1;
    }
    return 0;
}

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (previousProc) return CallWindowProcW(previousProc, hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CWnd::OnPaintMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Paint(nullptr)) return DefaultProc(message, wParam, lParam);
    CPaintDC dc(hwnd);
    Paint(&dc);
    return 0;
}

LRESULT CWnd::OnLastMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    FrameworkState& fw = theFramework();
    if (fw.mainWindow == this) {
        fw.mainWindow = nullptr;
        PostQuitMessage(0);
    }
    LRESULT result = DefaultProc(message, wParam, lParam);
    OnFinalMessage();
    return result;
}

// The command goes to the window's own procedure first, then to the objects
// of this window and of each parent until one handles it. Any object on the
// way may destroy itself, so only window handles are kept across the calls.
LRESULT CWnd::RouteCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = hwnd;
    LRESULT result = DefaultProc(message, wParam, lParam);
    while (window) {
        HWND parent = GetParent(window);
        if (CWnd* object = ObjectFromWindow(window)) {
            // ids 0x4000..0xEFFF travel with their lowest four bits cleared
            if ((wParam & 0xF000) != 0xF000 && (wParam & 0xC000) != 0) wParam &= ~WPARAM(0xF);
            if (object->OnCommand(message, wParam, lParam)) break;
        }
        window = parent;
    }
    return result;
}

void ArmCreationHook(CWnd* object) {
    FrameworkState& fw = theFramework();
    DisarmCreationHook();
    fw.pendingObject = object;
    fw.creationHook = SetWindowsHookExW(WH_CALLWNDPROC, &CreationHookProc, nullptr, GetCurrentThreadId());
}

bool DisarmCreationHook() {
    FrameworkState& fw = theFramework();
    bool unbound = fw.pendingObject != nullptr;
    if (fw.creationHook) UnhookWindowsHookEx(fw.creationHook);
    fw.creationHook = nullptr;
    fw.pendingObject = nullptr;
    return unbound;
}

CWnd* CreateBoundWindow(CWnd* object, const wchar_t* className, const wchar_t* title, DWORD style,
                        HMENU idOrMenu, HWND parent, int x, int y, int width, int height) {
    ArmCreationHook(object);
    HWND window = CreateWindowExW(0, className, title, style, x, y, width, height, parent, idOrMenu,
                                  FrameworkInstance(), nullptr);
    bool unbound = DisarmCreationHook();
    if (!window) {
        // a window that was bound and then failed has freed its object already
        if (unbound) delete object;
        return nullptr;
    }
    if (unbound) object->Attach(window);
    return object;
}

const wchar_t* RegisterWindowClass(HBRUSH background, HCURSOR cursor, HICON icon, UINT classStyle) {
    FrameworkState& fw = theFramework();
    std::swprintf(fw.className, sizeof fw.className / sizeof fw.className[0], L"WCLS_%llx_%llx_%llx_%llx",
                  static_cast<unsigned long long>(classStyle),
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(cursor)),
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(background)),
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(icon)));
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(FrameworkInstance(), fw.className, &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = classStyle;
        wc.lpfnWndProc = &DefWindowProcW;
        wc.hInstance = FrameworkInstance();
        wc.hIcon = icon;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.lpszClassName = fw.className;
        RegisterClassExW(&wc);
    }
    return fw.className;
}

int ForEachChild(HWND parent, const std::function<int(HWND child)>& callback) {
    ChildWalk walk{&callback, 0};
    if (parent) EnumChildWindows(parent, &ChildWalkStep, reinterpret_cast<LPARAM>(&walk));
    return walk.count;
}

int CanCloseTree(CWnd* object) {
    if (!object->CanClose()) return 0;
    int answer = 1;
    ForEachChild(object->hwnd, [&answer](HWND child) {
        CWnd* descendant = ObjectFromWindow(child);
        if (descendant && !descendant->CanClose()) {
            answer = 0;
            return kChildStop;
        }
        return 0;
    });
    return answer;
}
