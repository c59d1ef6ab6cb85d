// The MDI frame: bars and client laid out, children bound through the MDI
// create message, commands offered to the active child, tiling, cascading,
// shortcuts through the application's pre-translation, the exit command.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "App.h"
#include "Dlg.h"
#include "Frame.h"
#include "FrameworkState.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

HWND MakeBar(HWND parent, const wchar_t* text) {
    return CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_SUNKEN, 0, 0, 0, 0, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

class TestFrame : public CMDIFrame {
public:
    explicit TestFrame(std::vector<std::string>* log) : log_(log) {}
    HWND CreateStatusBar() override { return MakeBar(hwnd, L"Bereit"); }
    // like the program's tool bar: a tool-window dialog inside the frame
    HWND CreateToolBar() override {
        CDlg* bar = CreateModeless(kToolWindowDialog, new CDlg, L"TOOLWIN", hwnd);
        return bar ? bar->hwnd : nullptr;
    }
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override {
        log_->push_back("frame:" + std::to_string(LOWORD(wParam)));
        return CMDIFrame::OnCommand(message, wParam, lParam);
    }

private:
    std::vector<std::string>* log_;
};

class TestChild : public CMDIChild {
public:
    TestChild(const char* name, std::vector<std::string>* log, bool* deleted) : name_(name), log_(log), deleted_(deleted) {}
    ~TestChild() override { *deleted_ = true; }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (!firstMessage) firstMessage = message;
        return CMDIChild::WndProc(message, wParam, lParam);
    }
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override {
        log_->push_back(std::string(name_) + ":" + std::to_string(LOWORD(wParam)));
        return CMDIChild::OnCommand(message, wParam, lParam);
    }
    UINT firstMessage = 0;

private:
    const char* name_;
    std::vector<std::string>* log_;
    bool* deleted_;
};

HMENU MakeMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, ID_APP_EXIT, L"&Beenden");
    HMENU windows = CreatePopupMenu();
    AppendMenuW(windows, MF_STRING, ID_WINDOW_TILE, L"&Nebeneinander\tt");
    AppendMenuW(windows, MF_STRING, ID_WINDOW_CASCADE, L"Über&lappend\tc");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&Datei");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(windows), L"&Fenster");
    return bar;
}

bool Overlap(HWND a, HWND b) {
    RECT ra = ChildRect(a), rb = ChildRect(b), both;
    return IntersectRect(&both, &ra, &rb) != 0;
}

}  // namespace

TEST(MdiFrame, LaysOutBarsAndClientAndRoutesCommandsToTheActiveChild) {
    std::vector<std::string> log;
    TestFrame* frame = new TestFrame(&log);
    const wchar_t* frameClass = RegisterWindowClass(nullptr, LoadCursorW(nullptr, IDC_ARROW), nullptr, 0);
    ASSERT_NE(CreateBoundWindow(frame, frameClass, L"Kaltrenox", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                                MakeMenu(), nullptr, 0, 0, 800, 600),
              nullptr);
    HWND frameWindow = frame->hwnd;
    ASSERT_NE(frame->client, nullptr);
    EXPECT_EQ(ClassNameOf(frame->client), L"MDIClient");
    EXPECT_EQ(GetWindowLongW(frame->client, GWL_STYLE) & 0x52300000, 0x52300000);
    ASSERT_NE(frame->toolBar, nullptr);
    ASSERT_NE(frame->statusBar, nullptr);

    RECT client{};
    GetClientRect(frameWindow, &client);
    SendMessageW(frameWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    RECT tool = ChildRect(frame->toolBar), status = ChildRect(frame->statusBar), mdi = ChildRect(frame->client);
    EXPECT_EQ(tool.top, 0);
    EXPECT_EQ(tool.bottom, 42);
    EXPECT_EQ(tool.right, client.right);
    EXPECT_EQ(status.top, client.bottom - 24);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(mdi.top, 42);
    EXPECT_EQ(mdi.bottom, client.bottom - 24);
    EXPECT_EQ(mdi.right, client.right);

    bool firstDeleted = false, secondDeleted = false;
    const wchar_t* childClass = RegisterWindowClass(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, nullptr, 3);
    const DWORD childStyle = WS_VISIBLE | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
    TestChild* first = static_cast<TestChild*>(CreateMDIChild(new TestChild("first", &log, &firstDeleted), frame->client,
                                                              childClass, L"Diagramm-Fenster", childStyle));
    TestChild* second = static_cast<TestChild*>(CreateMDIChild(new TestChild("second", &log, &secondDeleted),
                                                               frame->client, childClass, L"Diagramm-Fenster", childStyle));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(first->firstMessage == WM_GETMINMAXINFO || first->firstMessage == WM_NCCREATE) << first->firstMessage;
    EXPECT_EQ(frame->ActiveChild(), second->hwnd);

    log.clear();
    SendMessageW(frameWindow, WM_COMMAND, ID_VIEW_POWER_RPM, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"frame:1551", "second:1551"}));

    SendMessageW(frameWindow, WM_COMMAND, ID_WINDOW_CASCADE, 0);
    EXPECT_TRUE(Overlap(first->hwnd, second->hwnd));
    SendMessageW(frameWindow, WM_COMMAND, ID_WINDOW_TILE, 0);
    EXPECT_FALSE(Overlap(first->hwnd, second->hwnd));

    // T through the application's pre-translation: child, MDI client, frame
    ACCEL tile{FVIRTKEY, 'T', ID_WINDOW_TILE};
    ACCEL cascade{FVIRTKEY, 'C', ID_WINDOW_CASCADE};
    ACCEL keys[] = {tile, cascade};
    HACCEL table = CreateAcceleratorTableW(keys, 2);
    frame->accelerators = table;
    CApp app;
    MSG key{second->hwnd, WM_KEYDOWN, 'C', 0, 0, {0, 0}};
    log.clear();
    EXPECT_EQ(app.PreTranslate(&key), 1);
    EXPECT_EQ(log, std::vector<std::string>{"frame:1025"});
    EXPECT_TRUE(Overlap(first->hwnd, second->hwnd));
    MSG other{second->hwnd, WM_KEYDOWN, 'Q', 0, 0, {0, 0}};
    EXPECT_EQ(app.PreTranslate(&other), 0);

    // the tool bar: its buttons' commands reach the frame (and the active
    // child), and the frame's shortcuts work while a tool bar button has the focus
    theFramework().mainWindow = frame;
    HWND measureButton = GetDlgItem(frame->toolBar, ID_MEASURE);
    log.clear();
    SendMessageW(measureButton, BM_CLICK, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"frame:1543", "second:1543"}));
    MSG onToolBar{measureButton, WM_KEYDOWN, 'T', 0, 0, {0, 0}};
    log.clear();
    EXPECT_EQ(app.PreTranslate(&onToolBar), 1);
    EXPECT_EQ(log, std::vector<std::string>{"frame:1024"});
    EXPECT_FALSE(Overlap(first->hwnd, second->hwnd));

    // "&Beenden": offered to the active child, then the main window closes
    log.clear();
    SendMessageW(frameWindow, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"frame:518", "second:518"}));
    PumpMessages();
    EXPECT_FALSE(IsWindow(frameWindow));
    EXPECT_TRUE(firstDeleted);
    EXPECT_TRUE(secondDeleted);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    DestroyAcceleratorTable(table);
}
