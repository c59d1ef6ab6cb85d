// Window objects bound to real windows: binding from the first message on,
// self-deletion, the quit message, command routing, close questions, window
// classes, painting and the message pump.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "App.h"
#include "DC.h"
#include "Dlg.h"
#include "FrameworkState.h"
#include "TestSupport.h"
#include "Wnd.h"
#include "resource.h"

namespace {

// Records every message and its own deletion.
class ProbeWnd : public CWnd {
public:
    ProbeWnd(std::vector<UINT>* messages, bool* deleted) : messages_(messages), deleted_(deleted) {}
    ~ProbeWnd() override { *deleted_ = true; }

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages_->push_back(message);
        if (message == WM_CREATE && failCreate) return -1;
        return CWnd::WndProc(message, wParam, lParam);
    }
    int CanClose() override { return canClose; }

    bool failCreate = false;
    int canClose = 1;

private:
    std::vector<UINT>* messages_;
    bool* deleted_;
};

// Records the commands it is offered and answers as told.
class RouterWnd : public CWnd {
public:
    RouterWnd(const char* name, std::vector<std::string>* log) : name_(name), log_(log) {}
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override {
        log_->push_back(std::string(name_) + ":" + std::to_string(LOWORD(wParam)));
        if (LOWORD(wParam) == handles) return 1;
        return CWnd::OnCommand(message, wParam, lParam);
    }
    WORD handles = 0;

private:
    const char* name_;
    std::vector<std::string>* log_;
};

class RouterDlg : public CDlg {
public:
    explicit RouterDlg(std::vector<std::string>* log) : log_(log) {}
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override {
        log_->push_back("dialog:" + std::to_string(LOWORD(wParam)));
        return CDlg::OnCommand(message, wParam, lParam);
    }

private:
    std::vector<std::string>* log_;
};

const wchar_t* TestClass() {
    return RegisterWindowClass(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), LoadCursorW(nullptr, IDC_ARROW),
                               nullptr, 0);
}

HWND MakeWindow(CWnd* object, DWORD style, HWND parent = nullptr, int id = 0) {
    CWnd* made = CreateBoundWindow(object, TestClass(), L"Probe", style, reinterpret_cast<HMENU>(INT_PTR(id)), parent,
                                   20, 20, 300, 200);
    return made ? made->hwnd : nullptr;
}

bool QuitWaiting() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

}  // namespace

TEST(WindowBinding, ObjectSeesItsWindowFromTheFirstToTheLastMessage) {
    std::vector<UINT> topMessages, childMessages;
    bool topDeleted = false, childDeleted = false;
    ProbeWnd* top = new ProbeWnd(&topMessages, &topDeleted);
    HWND topWindow = MakeWindow(top, WS_OVERLAPPEDWINDOW);
    ASSERT_NE(topWindow, nullptr);
    EXPECT_EQ(top->hwnd, topWindow);
    EXPECT_EQ(ObjectFromWindow(topWindow), top);
    ASSERT_FALSE(topMessages.empty());
    // a top-level window asks for its size limits before WM_NCCREATE
    EXPECT_EQ(topMessages.front(), UINT(WM_GETMINMAXINFO));
    EXPECT_NE(std::find(topMessages.begin(), topMessages.end(), UINT(WM_NCCREATE)), topMessages.end());
    EXPECT_NE(std::find(topMessages.begin(), topMessages.end(), UINT(WM_CREATE)), topMessages.end());

    ProbeWnd* child = new ProbeWnd(&childMessages, &childDeleted);
    HWND childWindow = MakeWindow(child, WS_CHILD | WS_VISIBLE, topWindow, 7);
    ASSERT_NE(childWindow, nullptr);
    ASSERT_FALSE(childMessages.empty());
    EXPECT_EQ(childMessages.front(), UINT(WM_NCCREATE));
    EXPECT_EQ(GetDlgCtrlID(childWindow), 7);

    DestroyWindow(topWindow);
    EXPECT_TRUE(topDeleted);
    EXPECT_TRUE(childDeleted);
    EXPECT_EQ(topMessages.back(), UINT(WM_NCDESTROY));
    EXPECT_EQ(childMessages.back(), UINT(WM_NCDESTROY));
    EXPECT_EQ(ObjectFromWindow(nullptr), nullptr);
    EXPECT_FALSE(QuitWaiting()) << "only the main window ends the loop";
}

TEST(WindowBinding, DestroyingTheMainWindowPostsQuitAndNoOtherDoes) {
    std::vector<UINT> messages;
    bool deleted = false, otherDeleted = false;
    HWND other = MakeWindow(new ProbeWnd(&messages, &otherDeleted), WS_OVERLAPPEDWINDOW);
    ProbeWnd* main = new ProbeWnd(&messages, &deleted);
    HWND mainWindow = MakeWindow(main, WS_OVERLAPPEDWINDOW);
    theFramework().mainWindow = main;

    DestroyWindow(other);
    EXPECT_TRUE(otherDeleted);
    EXPECT_FALSE(QuitWaiting());

    DestroyWindow(mainWindow);
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(QuitWaiting());
    EXPECT_EQ(theFramework().mainWindow, nullptr);
}

TEST(WindowBinding, ExitCommandClosesOnlyTheMainWindow) {
    std::vector<UINT> messages;
    bool deleted = false, mainDeleted = false;
    ProbeWnd* other = new ProbeWnd(&messages, &deleted);
    HWND otherWindow = MakeWindow(other, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(other->OnCommand(WM_COMMAND, ID_APP_EXIT, 0), 0);

    ProbeWnd* main = new ProbeWnd(&messages, &mainDeleted);
    MakeWindow(main, WS_OVERLAPPEDWINDOW);
    theFramework().mainWindow = main;
    EXPECT_EQ(main->OnCommand(WM_COMMAND, ID_APP_EXIT, 0), 1);
    PumpMessages();  // the posted close destroys it
    EXPECT_TRUE(mainDeleted);
    EXPECT_TRUE(QuitWaiting());
    EXPECT_FALSE(deleted);
    DestroyWindow(otherWindow);
}

TEST(WindowBinding, FailedCreationFreesTheObjectAndAnswersNull) {
    std::vector<UINT> messages;
    bool deleted = false;
    ProbeWnd* refusing = new ProbeWnd(&messages, &deleted);
    refusing->failCreate = true;
    EXPECT_EQ(CreateBoundWindow(refusing, TestClass(), L"", WS_OVERLAPPEDWINDOW, nullptr, nullptr, 0, 0, 10, 10),
              nullptr);
    EXPECT_TRUE(deleted) << "bound, then destroyed by the failed creation";

    bool unboundDeleted = false;
    ProbeWnd* unbound = new ProbeWnd(&messages, &unboundDeleted);
    EXPECT_EQ(CreateBoundWindow(unbound, L"KeineSolcheKlasse", L"", WS_OVERLAPPEDWINDOW, nullptr, nullptr, 0, 0, 10, 10),
              nullptr);
    EXPECT_TRUE(unboundDeleted) << "never bound";
}

TEST(WindowBinding, AttachSubclassesAControlAndDetachRestoresIt) {
    HWND parent = MakeWindow(new CWnd, WS_OVERLAPPEDWINDOW);
    HWND label = CreateWindowExW(0, L"STATIC", L"vorher", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    LONG_PTR original = GetWindowLongPtrW(label, GWLP_WNDPROC);
    std::vector<UINT> messages;
    bool deleted = false;
    ProbeWnd* object = new ProbeWnd(&messages, &deleted);
    object->Attach(label);
    EXPECT_EQ(ObjectFromWindow(label), object);
    EXPECT_EQ(GetWindowLongPtrW(label, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&CommonWindowProc));
    SetWindowTextW(label, L"nachher");
    EXPECT_EQ(WindowTextOf(label), L"nachher") << "the static control still stores its text";
    EXPECT_NE(std::find(messages.begin(), messages.end(), UINT(WM_SETTEXT)), messages.end());

    delete object;
    EXPECT_EQ(ObjectFromWindow(label), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(label, GWLP_WNDPROC), original);
    DestroyWindow(parent);
}

TEST(CommandRouting, ChildControlCommandReachesTheDialogThenEachParent) {
    std::vector<std::string> log;
    RouterWnd* top = new RouterWnd("top", &log);
    HWND topWindow = MakeWindow(top, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RouterWnd* middle = new RouterWnd("middle", &log);
    HWND middleWindow = MakeWindow(middle, WS_CHILD | WS_VISIBLE, topWindow, 5);
    middle->handles = ID_MEASURE;
    CDlg* toolWindow = CreateModeless(kToolWindowDialog, new RouterDlg(&log), L"TOOLWIN", middleWindow);
    ASSERT_NE(toolWindow, nullptr);
    HWND dialog = toolWindow->hwnd;

    struct Case {
        WPARAM wParam;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // handled by the middle window: the top never sees it
        {MAKEWPARAM(ID_MEASURE, BN_CLICKED), {"dialog:1543", "middle:1543"}},
        // ids 0x4000 and up lose their low four bits on the way
        {MAKEWPARAM(0x4005, BN_CLICKED), {"dialog:16384", "middle:16384", "top:16384"}},
        // 0xF000 and up (system commands) travel unchanged
        {MAKEWPARAM(0xF005, 0), {"dialog:61445", "middle:61445", "top:61445"}},
    };
    for (const Case& c : cases) {
        log.clear();
        SendMessageW(dialog, WM_COMMAND, c.wParam, 0);
        EXPECT_EQ(log, c.expected) << "wParam " << std::hex << c.wParam;
    }

    // a real click on the tool window's button
    log.clear();
    SendMessageW(GetDlgItem(dialog, ID_MEASURE), BM_CLICK, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"dialog:1543", "middle:1543"}));
    DestroyWindow(topWindow);
}

TEST(CloseQuestion, OneRefusingDescendantKeepsTheWholeTreeOpen) {
    std::vector<UINT> messages;
    bool parentDeleted = false, childDeleted = false;
    ProbeWnd* parent = new ProbeWnd(&messages, &parentDeleted);
    HWND parentWindow = MakeWindow(parent, WS_OVERLAPPEDWINDOW);
    ProbeWnd* child = new ProbeWnd(&messages, &childDeleted);
    MakeWindow(child, WS_CHILD, parentWindow, 1);
    HWND grandchildParent = child->hwnd;
    ProbeWnd* grandchild = new ProbeWnd(&messages, &childDeleted);
    MakeWindow(grandchild, WS_CHILD, grandchildParent, 2);

    grandchild->canClose = 0;
    EXPECT_EQ(CanCloseTree(parent), 0);
    EXPECT_EQ(SendMessageW(parentWindow, WM_QUERYENDSESSION, 0, 0), 0);
    SendMessageW(parentWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(parentWindow));
    EXPECT_FALSE(parentDeleted);

    grandchild->canClose = 1;
    parent->canClose = 0;
    EXPECT_EQ(CanCloseTree(parent), 0);

    parent->canClose = 1;
    EXPECT_EQ(CanCloseTree(parent), 1);
    EXPECT_EQ(SendMessageW(parentWindow, WM_QUERYENDSESSION, 0, 0), 1);
    SendMessageW(parentWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(parentWindow));
    EXPECT_TRUE(parentDeleted);
}

TEST(WindowClass, EqualParametersShareOneRegisteredClass) {
    HBRUSH grey = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    std::wstring statusClass = RegisterWindowClass(grey, arrow, nullptr, 3);
    SetLastError(0);
    std::wstring again = RegisterWindowClass(grey, arrow, nullptr, 3);
    EXPECT_EQ(statusClass, again);
    EXPECT_NE(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS)) << "the second call must not register again";
    EXPECT_EQ(statusClass.rfind(L"WCLS_3_", 0), 0u) << std::string(statusClass.begin(), statusClass.end());

    std::wstring instrumentClass = RegisterWindowClass(nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(instrumentClass, L"WCLS_0_0_0_0");
    EXPECT_NE(statusClass, instrumentClass);

    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), statusClass.c_str(), &info));
    EXPECT_EQ(info.style, 3u);
    EXPECT_EQ(info.hbrBackground, grey);
    EXPECT_EQ(info.hCursor, arrow);
    EXPECT_EQ(info.cbWndExtra, 0);
}

namespace {

class PaintingWnd : public CWnd {
public:
    int Paint(CDC* dc) override {
        if (!dc) return 1;
        ++paints;
        kind = dc->GetKind();
        dc->GetRect(&area);
        return 1;
    }
    int paints = 0;
    int kind = -1;
    RECT area{};
};

}  // namespace

TEST(Painting, ClassesThatPaintGetAPaintContextOverTheClientArea) {
    PaintingWnd* painter = new PaintingWnd;
    HWND window = MakeWindow(painter, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    UpdateWindow(window);
    painter->paints = 0;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(painter->paints, 1);
    EXPECT_EQ(painter->kind, int(kScreenDC));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_TRUE(EqualRect(&painter->area, &client));
    DestroyWindow(window);
}

TEST(DialogPlacement, AbsoluteAlignmentCentresTheClientAreaAndKeepsItOnTop) {
    CDlg* dialog = CreateModeless(kModelessDialog, new CDlg, L"CENTRED", nullptr);
    ASSERT_NE(dialog, nullptr);
    HWND window = dialog->hwnd;
    RECT desktop{}, client{};
    GetClientRect(GetDesktopWindow(), &desktop);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    EXPECT_NEAR(origin.x, (desktop.right - client.right) / 2, 1);
    EXPECT_NEAR(origin.y, (desktop.bottom - client.bottom) / 2, 1);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // OK ends a modeless dialog by destroying it
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(window));
}

namespace {

class PumpApp : public CApp {
public:
    CWnd* CreateMainWindow() override {
        if (noWindow) return nullptr;
        main = new ProbeWnd(&messages, &mainDeleted);
        HWND window = MakeWindow(main, WS_OVERLAPPEDWINDOW);
        PostMessageW(window, WM_APP, 0, 0);
        PostMessageW(window, WM_APP + 1, 0, 0);
        PostMessageW(window, WM_CLOSE, 0, 0);
        return main;
    }
    int PreTranslate(MSG* message) override {
        if (message->message == WM_APP + 1) return 1;  // taken before dispatch
        return CApp::PreTranslate(message);
    }
    void ExitInstance() override { exited = true; }

    bool noWindow = false;
    bool exited = false;
    bool mainDeleted = false;
    ProbeWnd* main = nullptr;
    std::vector<UINT> messages;
};

}  // namespace

TEST(MessagePump, RunDispatchesUntilTheMainWindowIsGone) {
    PumpApp app;
    EXPECT_EQ(app.Main(GetModuleHandleW(nullptr), L"C:\\Prüf\\Lauf_Ω3.kxm"), 0);
    EXPECT_EQ(app.commandLine, L"C:\\Prüf\\Lauf_Ω3.kxm") << "kept as UTF-16";
    EXPECT_TRUE(app.mainDeleted);
    EXPECT_TRUE(app.exited);
    EXPECT_NE(std::find(app.messages.begin(), app.messages.end(), UINT(WM_APP)), app.messages.end());
    EXPECT_EQ(std::find(app.messages.begin(), app.messages.end(), UINT(WM_APP + 1)), app.messages.end())
        << "a message taken by PreTranslate is not dispatched";
}

TEST(MessagePump, NoMainWindowEndsAtOnceAndStillShutsDown) {
    PumpApp app;
    app.noWindow = true;
    EXPECT_EQ(app.Main(GetModuleHandleW(nullptr), L""), 0);
    EXPECT_TRUE(app.exited);
}
