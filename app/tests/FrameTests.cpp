// The main frame in the test's own process, made as the program makes it:
// layout, tool bar, menu and shortcut tables, status-bar help, command
// routing, window arrangement, the private messages of the diagrams, dropped
// files and the command-line file.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "DiagramHooks.h"
#include "FrameworkState.h"
#include "MyApp.h"
#include "Seams.h"
#include "Settings.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "TextBuffers.h"
#include "resource.h"

namespace {

class MainFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        theApp().commandLine.clear();
        frame = theApp().CreateMainFrame(new LoggingFrame(&log));
        ASSERT_NE(frame, nullptr);
        window = frame->hwnd;
        theFramework().mainWindow = frame;
        SetWindowPos(window, HWND_TOP, 20, 20, 1000, 700, 0);
        PumpMessages();
        log.clear();
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
        PumpMessages();
        TakeQuitMessage();
        theFramework().mainWindow = nullptr;
    }

    HWND ToolControl(int id) const { return GetDlgItem(frame->toolBar, id); }
    std::wstring StatusText() const { return WindowTextOf(frame->statusBar); }

    // What the mouse does over a window: the window's default handling
    // passes the cursor question up through its parents to the frame.
    void Hover(HWND over) const {
        SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
    void SelectMenuItem(UINT id, UINT flags) const {
        SendMessageW(window, WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(GetMenu(window)));
    }
    std::vector<HWND> DiagramWindows() const {
        std::vector<HWND> windows;
        for (HWND child = GetWindow(frame->client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            windows.push_back(child);
        return windows;
    }
    // Presses a key as the message loop sees it, with Ctrl and Alt held as given.
    int PressKey(HWND target, UINT key, bool ctrlAlt) const {
        BYTE saved[256], keys[256];
        GetKeyboardState(saved);
        std::copy(saved, saved + 256, keys);
        keys[VK_CONTROL] = keys[VK_MENU] = ctrlAlt ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG message{target, WM_KEYDOWN, key, 1, 0, {0, 0}};
        int taken = theApp().PreTranslate(&message);
        SetKeyboardState(saved);
        return taken;
    }

    std::vector<std::string> log;
    CMyFrame* frame = nullptr;
    HWND window = nullptr;
};

RECT Rect(int left, int top, int right, int bottom) {
    return RECT{left, top, right, bottom};
}

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected) {
    if (EqualRect(&actual, &expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.left << "," << actual.top << "," << actual.right << ","
                                         << actual.bottom << ") instead of (" << expected.left << "," << expected.top
                                         << "," << expected.right << "," << expected.bottom << ")";
}

// Window arrangement: whether any two diagram windows overlap.
bool AnyOverlap(const std::vector<HWND>& windows) {
    for (size_t i = 0; i < windows.size(); ++i)
        for (size_t j = i + 1; j < windows.size(); ++j) {
            RECT a = ChildRect(windows[i]), b = ChildRect(windows[j]), both;
            if (IntersectRect(&both, &a, &b)) return true;
        }
    return false;
}

}  // namespace

TEST_F(MainFrame, ToolBarOnTopStatusBarBelowAndTheDiagramsBetween) {
    EXPECT_EQ(WindowTextOf(window), L"Kaltrenox");
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & 0x10CF0000u, 0x10CF0000u);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_TRUE(SameRect(ChildRect(frame->toolBar), Rect(0, 0, client.right, 42)));
    EXPECT_TRUE(SameRect(ChildRect(frame->statusBar), Rect(0, client.bottom - 24, client.right, client.bottom)));
    EXPECT_TRUE(SameRect(ChildRect(frame->client), Rect(0, 42, client.right, client.bottom - 24)));
    EXPECT_EQ(ClassNameOf(frame->client), L"MDIClient");
    EXPECT_EQ(GetWindowLongW(frame->statusBar, GWL_STYLE) & 0xFFFF0000u, 0x50000000u);
    EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0) << "files can be dropped on the frame";

    // the layout follows the frame
    SetWindowPos(window, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(window, &client);
    EXPECT_TRUE(SameRect(ChildRect(frame->statusBar), Rect(0, client.bottom - 24, client.right, client.bottom)));
    EXPECT_TRUE(SameRect(ChildRect(frame->client), Rect(0, 42, client.right, client.bottom - 24)));
    // the tool bar is repainted whole when it is stretched
    EXPECT_EQ(GetClassLongPtrW(frame->toolBar, GCL_STYLE) & 3, 3u);
}

TEST_F(MainFrame, ToolBarHasItsFourteenControlsInTemplateOrder) {
    struct Control {
        int id;
        const wchar_t* className;
        const wchar_t* text;
        int x, y, width, height;  // dialog units; combo boxes: height of the drop-down
        DWORD style;              // the bits that must be set
        const wchar_t* help;
    };
    const DWORD push = BS_ICON | WS_TABSTOP, toggle = BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_ICON | WS_TABSTOP;
    const Control expected[] = {
        {513, L"Button", L"@FILEOPEN", 0, 0, 25, 25, push | WS_GROUP, L"Messung öffnen"},
        {512, L"Button", L"@FILEADD", 25, 0, 25, 25, push | WS_GROUP, L"Messung hinzufügen"},
        {516, L"Button", L"@FILEPRINT", 50, 0, 25, 25, push | WS_GROUP, L"Diagramm drucken"},
        {1543, L"Button", L"@STARTMS", 80, 0, 25, 25, push | WS_GROUP, L"Messung starten"},
        {1547, L"Button", L"@CONFIG", 105, 0, 25, 25, push | WS_GROUP, L"Einstellungen"},
        {1544, L"Button", L"@ZOOMALL", 365, 0, 25, 25, push | WS_GROUP, L"Zoom: alles anzeigen"},
        {1537, L"Button", L"@VIEWPAGE", 390, 0, 25, 25, toggle | WS_GROUP, L"Druckansicht"},
        {1553, L"Button", L"@CORR", 415, 0, 25, 25, push, L"Korrekturverfahren"},
        {1548, L"Button", L"@EDITDATA", 440, 0, 25, 25, push | WS_GROUP, L"Daten ändern"},
        {1554, L"Button", L"@SHOWLAMB", 465, 0, 25, 25, toggle | WS_GROUP, L"Lambdakurve anzeigen"},
        {1540, L"ComboBox", L"", 150, 5, 100, 0, CBS_DROPDOWNLIST | WS_GROUP | WS_TABSTOP, L"Einheit der Y-Achse"},
        {1539, L"ComboBox", L"", 270, 5, 88, 0, CBS_DROPDOWNLIST | WS_GROUP | WS_TABSTOP, L"Einheit der X-Achse"},
        {65535, L"Static", L"Y:", 135, 5, 10, 15, SS_RIGHT, L""},
        {65535, L"Static", L"X:", 255, 5, 10, 15, SS_RIGHT, L""},
    };
    HWND bar = frame->toolBar;
    EXPECT_EQ(GetWindowLongW(bar, GWL_STYLE) & 0xFFFF00FFu, 0x56000044u & 0xFFFF00FFu);
    HWND control = GetWindow(bar, GW_CHILD);
    for (const Control& want : expected) {
        SCOPED_TRACE(::testing::Message() << "control " << want.id << " " << std::string(want.text, want.text + wcslen(want.text)));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(LOWORD(GetDlgCtrlID(control)), want.id);
        EXPECT_EQ(ClassNameOf(control), want.className);
        if (want.className[0] != L'C') {
            EXPECT_EQ(WindowTextOf(control), want.text);
        }
        DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
        if (want.className[0] == L'B') {
            EXPECT_EQ(style & 0x0F, want.style & 0x0F) << "button kind";
        }
        EXPECT_EQ(style & want.style, want.style) << std::hex << style;
        RECT rect = ChildRect(control);
        EXPECT_EQ(rect.left, DluX(bar, want.x));
        EXPECT_EQ(rect.top, DluY(bar, want.y));
        EXPECT_EQ(rect.right - rect.left, DluX(bar, want.width));
        if (want.height) {
            EXPECT_EQ(rect.bottom - rect.top, DluY(bar, want.height));
        }
        if (want.text[0] == L'@') {
            HICON icon = reinterpret_cast<HICON>(SendMessageW(control, BM_GETIMAGE, IMAGE_ICON, 0));
            ICONINFO info{};
            ASSERT_TRUE(icon && GetIconInfo(icon, &info)) << "the button shows its icon";
            BITMAP colour{};
            GetObjectW(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, 32);
            EXPECT_EQ(colour.bmHeight, 32);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
        EXPECT_EQ(std::wstring(LoadText(want.id)), want.help) << "status-bar help";
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr) << "no further controls";
}

TEST_F(MainFrame, AxisListsHoldTheQuantitiesAndTheYListAlsoTheCombinedViews) {
    const std::vector<std::wstring> plain = {L"Geschwindigkeit [km/h]", L"Drehmoment [Nm]", L"Leistung [PS]",
                                             L"Leistung [kW]", L"Zeit [s]", L"Drehzahl [U/min]", L"Wegstrecke [m]"};
    auto items = [](HWND list) {
        std::vector<std::wstring> texts;
        LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[128] = {};
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            texts.push_back(text);
        }
        return texts;
    };
    EXPECT_EQ(items(ToolControl(ID_AXIS_X)), plain);
    std::vector<std::wstring> y = plain;
    y.push_back(L"Leistung/Drehm. [kW/Nm]");
    y.push_back(L"Leistung/Drehm. [PS/Nm]");
    EXPECT_EQ(items(ToolControl(ID_AXIS_Y)), y);

    // a diagram reports its view: X engine speed (5), Y power in PS (2)
    SendMessageW(window, kFrameAxisLists, 0, MAKELPARAM(5, 2));
    EXPECT_EQ(WindowTextOf(ToolControl(ID_AXIS_X)), L"Drehzahl [U/min]");
    EXPECT_EQ(WindowTextOf(ToolControl(ID_AXIS_Y)), L"Leistung [PS]");
    SendMessageW(window, kFrameAxisLists, 0, MAKELPARAM(4, 8));
    EXPECT_EQ(WindowTextOf(ToolControl(ID_AXIS_X)), L"Zeit [s]");
    EXPECT_EQ(WindowTextOf(ToolControl(ID_AXIS_Y)), L"Leistung/Drehm. [PS/Nm]");

    // ... and its two toggles
    const struct {
        UINT message;
        int button;
    } toggles[] = {{kFramePageViewButton, ID_VIEW_PAGE}, {kFrameLambdaButton, ID_LAMBDA_CURVE}};
    for (const auto& toggle : toggles) {
        SendMessageW(window, toggle.message, 1, 0);
        EXPECT_EQ(IsDlgButtonChecked(frame->toolBar, toggle.button), BST_CHECKED) << toggle.button;
        SendMessageW(window, toggle.message, 0, 0);
        EXPECT_EQ(IsDlgButtonChecked(frame->toolBar, toggle.button), BST_UNCHECKED) << toggle.button;
    }
}

TEST_F(MainFrame, MenuAndShortcutsAreTheProgramsTables) {
    struct Item {
        int popup;
        UINT id;  // 0: separator
        const wchar_t* text;
    };
    const Item items[] = {
        {0, 513, L"&Öffnen...\to"},     {0, 512, L"Hin&zufügen...\ta"}, {0, 1543, L"&Messen...\tm"},
        {0, 516, L"&Drucken...\tp"},     {0, 1600, L"E&xportieren...\tx"}, {0, 517, L"Drucker &einrichten..."},
        {0, 0, L""},
        {0, 518, L"&Beenden"},           {1, 1024, L"&Nebeneinander\tt"}, {1, 1025, L"Über&lappend\tc"},
        {2, 1280, L"Über &Kaltrenox..."},
    };
    HMENU menu = GetMenu(window);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    const wchar_t* popups[] = {L"&Datei", L"&Fenster", L"&Info"};
    int position[3] = {0, 0, 0};
    for (int p = 0; p < 3; ++p) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, p, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, popups[p]);
    }
    for (const Item& item : items) {
        HMENU popup = GetSubMenu(menu, item.popup);
        int at = position[item.popup]++;
        wchar_t text[64] = {};
        GetMenuStringW(popup, at, text, 64, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(popup, at), item.id) << "item " << at << " of pop-up " << item.popup;
        EXPECT_STREQ(text, item.text);
    }
    for (int p = 0; p < 3; ++p) EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, p)), position[p]) << "pop-up " << p;

    struct Key {
        WORD key;
        BYTE modifiers;
        WORD command;
    };
    const Key keys[] = {
        {'A', 0, 512},   {'C', 0, 1025},  {'L', 0, 1554},  {'M', 0, 1543},  {'O', 0, 513},
        {'P', 0, 516},   {'T', 0, 1024},  {'X', 0, 1600},  {VK_F1, 0, 1551}, {VK_F2, 0, 1550}, {VK_F3, 0, 1549},
        {VK_F4, 0, 1546}, {VK_F5, 0, 1555}, {'S', FCONTROL | FALT, 1552}, {'W', FCONTROL | FALT, 3328},
    };
    ASSERT_NE(frame->accelerators, nullptr);
    ACCEL table[32];
    int count = CopyAcceleratorTableW(frame->accelerators, table, 32);
    ASSERT_EQ(count, static_cast<int>(sizeof keys / sizeof keys[0]));
    for (const Key& want : keys) {
        bool found = false;
        for (int i = 0; i < count; ++i)
            if (table[i].key == want.key && table[i].cmd == want.command &&
                (table[i].fVirt & (FVIRTKEY | FCONTROL | FALT | FSHIFT)) == (FVIRTKEY | want.modifiers))
                found = true;
        EXPECT_TRUE(found) << "key " << want.key << " with modifiers " << int(want.modifiers) << " for " << want.command;
    }
}

TEST_F(MainFrame, StatusBarShowsTheHelpOfTheControlUnderTheMouse) {
    Hover(ToolControl(ID_MEASURE));
    EXPECT_EQ(StatusText(), L"Messung starten");
    Hover(ToolControl(ID_AXIS_X));
    EXPECT_EQ(StatusText(), L"Einheit der X-Achse");
    Hover(ToolControl(ID_VIEW_PAGE));
    EXPECT_EQ(StatusText(), L"Druckansicht");

    // labels, the MDI client and windows without a help text empty it
    const HWND blank[] = {GetWindow(ToolControl(ID_AXIS_X), GW_HWNDNEXT), frame->client, frame->statusBar};
    for (HWND over : blank) {
        Hover(ToolControl(ID_MEASURE));
        Hover(over);
        EXPECT_EQ(StatusText(), L"") << ClassNameOf(over).c_str();
    }

    // a diagram keeps the text; any other window shows its own help (none)
    std::vector<std::string> ignored;
    LoggingChild* diagram = OpenLoggingChild(frame, &ignored, 0);
    Hover(ToolControl(ID_MEASURE));
    Hover(diagram->hwnd);
    EXPECT_EQ(StatusText(), L"Messung starten");
    LoggingChild* other = OpenLoggingChild(frame, &ignored, 1);
    Hover(other->hwnd);
    EXPECT_EQ(StatusText(), L"");
}

TEST_F(MainFrame, MenuItemsShowTheirHelpAndItemsWithoutOneEmptyTheStatusBar) {
    const struct {
        UINT id;
        const wchar_t* help;
    } rows[] = {
        {513, L"Messung öffnen"}, {512, L"Messung hinzufügen"}, {1543, L"Messung starten"}, {516, L"Diagramm drucken"},
        {1600, L"Diagramm als Bild oder Tabelle speichern"}, {517, L""}, {518, L""}, {1024, L""}, {1025, L""}, {1280, L""},
    };
    for (const auto& row : rows) {
        Hover(ToolControl(ID_ZOOM_ALL));
        ASSERT_EQ(StatusText(), L"Zoom: alles anzeigen");
        SelectMenuItem(row.id, MF_STRING | MF_HILITE | MF_MOUSESELECT);
        EXPECT_EQ(StatusText(), row.help) << "menu item " << row.id;
    }
    // pop-ups, the system menu and the menu closing leave the text alone
    SelectMenuItem(ID_FILE_OPEN, MF_HILITE);
    SelectMenuItem(0, MF_POPUP | MF_HILITE);
    EXPECT_EQ(StatusText(), L"Messung öffnen");
    SelectMenuItem(SC_CLOSE, MF_SYSMENU | MF_HILITE);
    EXPECT_EQ(StatusText(), L"Messung öffnen");
    SendMessageW(window, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(StatusText(), L"Messung öffnen");
}

namespace {

int gStatusTexts = 0;
WNDPROC gStatusProc = nullptr;

LRESULT CALLBACK CountStatusTexts(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) ++gStatusTexts;
    return CallWindowProcW(gStatusProc, window, message, wParam, lParam);
}

}  // namespace

TEST_F(MainFrame, MovingBetweenButtonsLoadsTheTextOncePerButton) {
    gStatusTexts = 0;
    gStatusProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(frame->statusBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountStatusTexts)));
    const struct {
        int button;
        int texts;  // texts the status bar has received so far
    } moves[] = {{ID_MEASURE, 1}, {ID_MEASURE, 1}, {ID_MEASURE, 1}, {ID_OPTIONS, 2},
                 {ID_OPTIONS, 2}, {ID_MEASURE, 3}, {ID_FILE_OPEN, 4}, {ID_FILE_OPEN, 4}};
    int step = 0;
    for (const auto& move : moves) {
        Hover(ToolControl(move.button));
        EXPECT_EQ(gStatusTexts, move.texts) << "step " << step << " over " << move.button;
        ++step;
    }
    SetWindowLongPtrW(frame->statusBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gStatusProc));
}

TEST_F(MainFrame, StatusBarIsARaisedBarWithASunkenPaneAndCutsItsTextAt79Characters) {
    HWND bar = frame->statusBar;
    RECT r{};
    GetClientRect(bar, &r);
    const int w = r.right, h = r.bottom;
    ASSERT_EQ(h, 24);
    SetWindowTextW(bar, L"");
    UpdateWindow(bar);
    HDC dc = GetDC(bar);
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), grey = RGB(127, 127, 127),
                   face = RGB(192, 192, 192);
    const struct {
        int x, y;
        COLORREF colour;
        const char* what;
    } probes[] = {
        {10, 0, black, "top edge"},           {w - 1, 0, black, "top edge, right end"},
        {10, 1, white, "highlight below it"}, {0, 10, white, "left highlight"},
        {10, 3, grey, "pane top"},            {3, 10, grey, "pane left"},
        {10, 21, white, "pane bottom"},       {w - 4, 10, white, "pane right"},
        {10, h - 1, grey, "bottom shadow"},   {w - 1, 10, grey, "right shadow"},
        {1, 10, face, "bar face left"},       {w - 2, 10, face, "bar face right"},
        {w / 2, 12, face, "empty pane"},
    };
    for (const auto& probe : probes)
        EXPECT_EQ(GetPixel(dc, probe.x, probe.y), probe.colour) << probe.what << " at " << probe.x << "," << probe.y;

    auto capture = [&](const std::wstring& text) {
        SetWindowTextW(bar, text.c_str());
        UpdateWindow(bar);
        std::vector<COLORREF> pixels;
        for (int y = 4; y < h - 4; ++y)
            for (int x = 8; x < w - 8; ++x) pixels.push_back(GetPixel(dc, x, y));
        return pixels;
    };
    const std::wstring shown(79, L'M');
    std::vector<COLORREF> exact = capture(shown);
    EXPECT_EQ(capture(shown + std::wstring(21, L'W')), exact) << "only the first 79 characters are drawn";
    EXPECT_NE(capture(std::wstring(78, L'M')), exact) << "the bar is wide enough to show the difference";
    EXPECT_NE(capture(L""), exact) << "the text is drawn at all";
    ReleaseDC(bar, dc);
}

TEST_F(MainFrame, ToolBarClicksAndListChoicesReachTheFrameAndTheActiveDiagram) {
    SendMessageW(ToolControl(ID_ZOOM_ALL), BM_CLICK, 0, 0);
    EXPECT_EQ(log, std::vector<std::string>{"frame:1544"});

    LoggingChild* diagram = OpenLoggingChild(frame, &log);
    ASSERT_NE(diagram, nullptr);
    log.clear();
    SendMessageW(ToolControl(ID_ZOOM_ALL), BM_CLICK, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"frame:1544", "diagram:1544"}));

    log.clear();
    HWND xList = ToolControl(ID_AXIS_X);
    SendMessageW(xList, CB_SETCURSEL, 0, 0);
    SetFocus(xList);
    SendMessageW(xList, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(SendMessageW(xList, CB_GETCURSEL, 0, 0), 1);
    bool changed = false;
    for (size_t i = 0; i + 1 < log.size(); ++i)
        if (log[i] == "frame:1539/1" && log[i + 1] == "diagram:1539/1") changed = true;
    EXPECT_TRUE(changed) << "selection change of list 1539 at the frame, then at the diagram";

    // the toggles check themselves and send their command
    SetFocus(window);
    log.clear();
    SendMessageW(ToolControl(ID_LAMBDA_CURVE), BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(frame->toolBar, ID_LAMBDA_CURVE), BST_CHECKED);
    EXPECT_EQ(log, (std::vector<std::string>{"frame:1554", "diagram:1554"}));
}

TEST_F(MainFrame, TheTogglesStayUnpressedWithoutADiagramAndClosingTheLastResetsTheToolBar) {
    auto checked = [this](int id) { return IsDlgButtonChecked(frame->toolBar, id) == BST_CHECKED; };
    auto selection = [this](int id) { return SendMessageW(ToolControl(id), CB_GETCURSEL, 0, 0); };
    for (int id : {ID_VIEW_PAGE, ID_LAMBDA_CURVE}) {
        SendMessageW(ToolControl(id), BM_CLICK, 0, 0);
        EXPECT_FALSE(checked(id)) << id << " clicked with no diagram";
    }
    InstallDiagramHooks();
    CMDIChild* first = OpenDiagram(frame, SampleMeasurement(L"run1.kxm"));
    CMDIChild* second = OpenDiagram(frame, SampleMeasurement(L"run2.kxm"));
    ASSERT_TRUE(first && second);
    SendMessageW(ToolControl(ID_LAMBDA_CURVE), BM_CLICK, 0, 0);
    EXPECT_TRUE(checked(ID_LAMBDA_CURVE)) << "the active diagram shows its lambda curve";
    SendMessageW(window, kFramePageViewButton, 1, 0);  // as a diagram in page view reports it
    SendMessageW(frame->client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first->hwnd), 0);
    EXPECT_TRUE(checked(ID_LAMBDA_CURVE)) << "another diagram is still open";
    EXPECT_NE(selection(ID_AXIS_X), CB_ERR);
    SendMessageW(frame->client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(second->hwnd), 0);
    ASSERT_TRUE(DiagramWindows().empty());
    for (int id : {ID_VIEW_PAGE, ID_LAMBDA_CURVE}) EXPECT_FALSE(checked(id)) << id << " after the last diagram";
    for (int id : {ID_AXIS_X, ID_AXIS_Y}) EXPECT_EQ(selection(id), CB_ERR) << id << " after the last diagram";
    SendMessageW(ToolControl(ID_LAMBDA_CURVE), BM_CLICK, 0, 0);
    EXPECT_FALSE(checked(ID_LAMBDA_CURVE)) << "clicked again with no diagram";
    theDiagramHooks() = DiagramHooks{};
}

TEST_F(MainFrame, CtrlAltWReachesTheFrameAndTheActiveDiagramAndChangesNothing) {
    LoggingChild* first = OpenLoggingChild(frame, &log);
    LoggingChild* active = OpenLoggingChild(frame, &log);
    ASSERT_TRUE(first && active);
    Hover(ToolControl(ID_MEASURE));
    const auto settings = SettingsSnapshot(theSettings());
    const RECT firstRect = ChildRect(first->hwnd), activeRect = ChildRect(active->hwnd);
    log.clear();

    EXPECT_EQ(PressKey(active->hwnd, 'W', true), 1) << "the shortcut is taken";
    EXPECT_EQ(log, (std::vector<std::string>{"frame:3328/1", "diagram:3328/1"}));
    PumpMessages();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(DiagramWindows().size(), 2u);
    EXPECT_TRUE(SameRect(ChildRect(first->hwnd), firstRect));
    EXPECT_TRUE(SameRect(ChildRect(active->hwnd), activeRect));
    EXPECT_EQ(frame->ActiveChild(), active->hwnd);
    EXPECT_EQ(StatusText(), L"Messung starten");
    EXPECT_EQ(WindowTextOf(window), L"Kaltrenox");
    EXPECT_EQ(SettingsSnapshot(theSettings()), settings);

    // the same key without Ctrl and Alt is no shortcut
    log.clear();
    EXPECT_EQ(PressKey(active->hwnd, 'W', false), 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(MainFrame, ViewKeysGoToTheActiveDiagramAndTAndCArrangeTheWindows) {
    std::vector<HWND> windows;
    for (int i = 0; i < 3; ++i) windows.push_back(OpenLoggingChild(frame, &log)->hwnd);
    log.clear();
    const struct {
        UINT key;
        const char* command;
    } views[] = {{VK_F1, "1551"}, {VK_F2, "1550"}, {VK_F3, "1549"}, {VK_F4, "1546"}, {VK_F5, "1555"},
                 {'L', "1554"},   {'A', "512"},    {'P', "516"},    {'X', "1600"}};
    for (const auto& view : views) {
        log.clear();
        EXPECT_EQ(PressKey(windows.back(), view.key, false), 1);
        EXPECT_EQ(log, (std::vector<std::string>{std::string("frame:") + view.command + "/1",
                                                 std::string("diagram:") + view.command + "/1"}))
            << "key " << view.key;
    }

    PressKey(windows.back(), 'T', false);
    EXPECT_FALSE(AnyOverlap(windows)) << "tiled";
    PressKey(windows.back(), 'C', false);
    EXPECT_TRUE(AnyOverlap(windows)) << "cascaded";
    // the tool bar passes the frame's keys on
    PressKey(ToolControl(ID_ZOOM_ALL), 'T', false);
    EXPECT_FALSE(AnyOverlap(windows)) << "tiled from the tool bar";

    // the "&Fenster" menu lists the diagram windows
    HMENU windowMenu = GetSubMenu(GetMenu(window), 1);
    int listed = 0;
    for (int i = 0; i < GetMenuItemCount(windowMenu); ++i) {
        UINT id = GetMenuItemID(windowMenu, i);
        if (id >= 1000 && id < 1010) ++listed;
    }
    EXPECT_EQ(listed, 3);
}

TEST_F(MainFrame, BeendenWithoutDiagramWindowClosesTheFrame) {
    SendMessageW(window, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_EQ(log, std::vector<std::string>{"frame:518"});
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(TakeQuitMessage()) << "the message loop ends";
}

TEST_F(MainFrame, BeendenIsOfferedToTheActiveDiagramFirst) {
    OpenLoggingChild(frame, &log);
    log.clear();
    SendMessageW(window, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"frame:518", "diagram:518"}));
    PumpMessages();
    EXPECT_FALSE(IsWindow(window)) << "the diagram did not take it: the frame closes";
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(MainFrame, DialogCommandsAreTheFramesOwnAndGoNoFurther) {
    LoggingChild* diagram = OpenLoggingChild(frame, &log);
    ASSERT_NE(diagram, nullptr);
    const struct {
        UINT key;
        bool ctrlAlt;
        WORD command;
        const wchar_t* dialog;  // the modal dialog it opens, null for none yet
    } rows[] = {
        {'S', true, ID_HARDWARE, L"Hardware"},
        {0, false, ID_OPTIONS, L"Optionen"},
        {'M', false, ID_MEASURE, L"Meßwert-Erfassung"},
    };
    for (const auto& row : rows) {
        log.clear();
        if (row.dialog)
            WhenDialogAppears(row.dialog, [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
        if (row.key)
            PressKey(diagram->hwnd, row.key, row.ctrlAlt);
        else
            SendMessageW(window, WM_COMMAND, row.command, 0);
        std::string expected = "frame:" + std::to_string(row.command) + (row.key ? "/1" : "");
        EXPECT_EQ(log, std::vector<std::string>{expected}) << "not routed to the diagram";
        EXPECT_FALSE(DialogActionPending()) << "the dialog was shown: " << row.command;
        PumpMessages();
        EXPECT_EQ(DiagramWindows().size(), 1u) << row.command;
        EXPECT_TRUE(IsWindow(window));
    }
}

namespace {

// Types `name` into the file dialog's name field and confirms.
void ChooseInFileDialog(HWND dialog, const std::wstring& name) {
    HWND field = GetDlgItem(dialog, cmb13);
    if (!field) field = GetDlgItem(dialog, edt1);
    SetWindowTextW(field, name.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST_F(MainFrame, OpenAndAddChooseAMeasurementFileAndShowIt) {
    InstallDiagramHooks();
    const std::wstring first = SampleMeasurement(L"open\\run5.kxm");
    const std::wstring second = SampleMeasurement(L"open\\run6.kxm");

    // cancelled: nothing opens, the last file stays
    theSettings().desktopLastFile = first;
    WhenDialogAppears(L"", [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    SendMessageW(window, WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_FALSE(DialogActionPending());
    EXPECT_TRUE(DiagramWindows().empty());
    EXPECT_EQ(theSettings().desktopLastFile, first);

    // "&Öffnen...": the proposed file, confirmed, in a new diagram window
    WhenDialogAppears(L"", [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); });
    SendMessageW(window, WM_COMMAND, ID_FILE_OPEN, 0);
    ASSERT_EQ(DiagramWindows().size(), 1u);
    EXPECT_EQ(DiagramFiles(frame->ActiveChild()), std::vector<std::wstring>{first});

    // key A: the active diagram asks for the file through the same dialog
    WhenDialogAppears(L"", [](HWND dialog) { ChooseInFileDialog(dialog, L"run6.kxm"); });
    PressKey(frame->ActiveChild(), 'A', false);
    EXPECT_FALSE(DialogActionPending());
    EXPECT_EQ(DiagramWindows().size(), 1u);
    EXPECT_EQ(DiagramFiles(frame->ActiveChild()), (std::vector<std::wstring>{first, second}));
    EXPECT_EQ(theSettings().desktopLastFile, second);
    theDiagramHooks() = DiagramHooks{};
}

TEST_F(MainFrame, SizeChangesAreKeptForTheNextStart) {
    const struct {
        int show;
        int32_t stored;
        const char* what;
    } steps[] = {{SW_MINIMIZE, 0x20000000, "minimised"}, {SW_RESTORE, 0, "restored"},
                 {SW_MAXIMIZE, 0x01000000, "maximised"}, {SW_RESTORE, 0, "restored"}};
    for (const auto& step : steps) {
        ShowWindow(window, step.show);
        PumpMessages();
        EXPECT_EQ(theSettings().supervisorCmdShow, step.stored) << step.what;
    }
}

TEST(MainFrameStart, OpensMinimisedOrMaximisedAsLeftAndWithTheConfiguredTitle) {
    const struct {
        int32_t cmdShow;
        bool iconic, zoomed;
    } starts[] = {{0x20000000, true, false}, {0x01000000, false, true}, {0, false, false}};
    for (const auto& start : starts) {
        ResetSettings();
        theSettings().supervisorCmdShow = start.cmdShow;
        theSettings().supervisorWindowTitle = L"Prüfstand 2";
        CMyFrame* frame = theApp().CreateMainFrame(new CMyFrame);
        ASSERT_NE(frame, nullptr);
        HWND window = frame->hwnd;
        PumpMessages();
        EXPECT_EQ(IsIconic(window) != 0, start.iconic) << start.cmdShow;
        EXPECT_EQ(IsZoomed(window) != 0, start.zoomed) << start.cmdShow;
        EXPECT_EQ(theSettings().supervisorCmdShow, start.cmdShow) << "kept through the start";
        EXPECT_EQ(WindowTextOf(window), L"Prüfstand 2");
        DestroyWindow(window);
        PumpMessages();
    }
}

TEST_F(MainFrame, DroppedFilesGoIntoOneNewDiagramWindow) {
    const std::vector<std::wstring> files = {SampleMeasurement(L"run1.kxm"), SampleMeasurement(L"run2.kxm"),
                                             SampleMeasurement(L"alt\\lauf 3.kxm")};
    size_t chars = 1;
    for (const std::wstring& file : files) chars += file.size() + 1;
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    wchar_t* names = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& file : files) {
        std::copy(file.begin(), file.end(), names);
        names += file.size() + 1;
    }
    GlobalUnlock(drop);

    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    std::vector<HWND> windows = DiagramWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(WindowTextOf(windows[0]), L"Diagramm-Fenster");
    EXPECT_EQ(DiagramFiles(windows[0]), files) << "the new window took all three, in order";
}

TEST_F(MainFrame, ADroppedNameOfThreeHundredCharactersOpens) {
    const std::wstring fixture = SampleMeasurement(L"runup.kxm");
    std::wstring path = fixture.substr(0, fixture.rfind(L'\\'));
    // folders of 47 characters up to somewhere between 200 and 246, so that the
    // file's own name (at most 100 characters) makes it 300 from any checkout
    while (path.size() < 200) {
        path += L"\\Kunde " + std::wstring(40, L'k');
        CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr);
    }
    ASSERT_LT(path.size(), 295u) << "a checkout this deep leaves no room for the name";
    path += L"\\" + std::wstring(300 - path.size() - 5, L'r') + L".kxm";
    ASSERT_EQ(path.size(), 300u);
    ASSERT_TRUE(CopyFileW(fixture.c_str(), (L"\\\\?\\" + path).c_str(), FALSE));
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
    DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(path.begin(), path.end(), reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(drop);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    ASSERT_EQ(DiagramWindows().size(), 1u) << "no \"Falsches Dateiformat\" box in between";
    EXPECT_EQ(DiagramFiles(DiagramWindows()[0]), std::vector<std::wstring>{path});
}

TEST_F(MainFrame, TheCommandLineFileOpensInANewDiagramWindow) {
    const std::wstring plain = SampleMeasurement(L"run1.kxm");
    const std::wstring spaced = SampleMeasurement(L"mit Leerzeichen\\run 2.kxm");
    const struct {
        std::wstring commandLine;
        std::wstring path;
    } cases[] = {
        {plain, plain},
        {L"\"" + spaced + L"\"", spaced},  // as the shell passes it
        {L"  \"" + plain + L"\" ", plain},
    };
    for (const auto& c : cases) {
        theApp().commandLine = c.commandLine;
        SendMessageW(window, kOpenCommandLineFile, 0, 0);
        EXPECT_EQ(DiagramFiles(frame->ActiveChild()), std::vector<std::wstring>{c.path});
    }
    EXPECT_EQ(DiagramWindows().size(), 3u);
    // the axis lists show the new diagram's view: power over engine speed
    EXPECT_EQ(WindowTextOf(ToolControl(ID_AXIS_X)), L"Drehzahl [U/min]");
    EXPECT_EQ(WindowTextOf(ToolControl(ID_AXIS_Y)), L"Leistung [PS]");
    theApp().commandLine.clear();
}

TEST_F(MainFrame, AFileHandedOverBySecondStartOpensInANewDiagramWindow) {
    const std::wstring path = SampleMeasurement(L"Prüfstand_Ω.kxm");
    const std::wstring withRest = path + L'\0' + L"Rest";
    const struct {
        const std::wstring* data;
        DWORD bytes;
        ULONG_PTR tag;
        LRESULT answer;
        bool opens;
    } cases[] = {
        {&path, DWORD(path.size() * 2), kHandOverTag, TRUE, true},
        {&withRest, DWORD(withRest.size() * 2), kHandOverTag, TRUE, true},  // the path ends at the NUL
        {&withRest, DWORD(path.size() * 2 + 1), kHandOverTag, TRUE, true},  // an odd last byte is dropped
        {&path, DWORD(path.size() * 2), 0x1234, FALSE, false},              // not ours
        {&path, 0, kHandOverTag, TRUE, false},                              // no file: only to the front
    };
    size_t windows = DiagramWindows().size();
    for (const auto& c : cases) {
        COPYDATASTRUCT data{c.tag, c.bytes, const_cast<wchar_t*>(c.data->data())};
        EXPECT_EQ(SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), c.answer);
        PumpMessages();
        EXPECT_EQ(DiagramWindows().size(), windows + c.opens) << c.bytes;
        windows = DiagramWindows().size();
        if (c.opens) {
            EXPECT_EQ(DiagramFiles(frame->ActiveChild()), std::vector<std::wstring>{path});
        }
    }
}

TEST(MainFrameStart, ACommandLineRequestsItsFileOnceTheLoopRuns) {
    ResetSettings();
    const std::wstring path = SampleMeasurement(L"run1.kxm");
    theApp().commandLine = path;
    CMyFrame* frame = theApp().CreateMainFrame(new CMyFrame);
    ASSERT_NE(frame, nullptr);
    HWND window = frame->hwnd;
    MSG request{};
    EXPECT_TRUE(PeekMessageW(&request, window, kOpenCommandLineFile, kOpenCommandLineFile, PM_NOREMOVE));
    PumpMessages();
    EXPECT_EQ(DiagramFiles(frame->ActiveChild()), std::vector<std::wstring>{path});
    DestroyWindow(window);
    PumpMessages();
    theApp().commandLine.clear();

    // without a command line nothing is requested
    frame = theApp().CreateMainFrame(new CMyFrame);
    window = frame->hwnd;
    EXPECT_FALSE(PeekMessageW(&request, window, kOpenCommandLineFile, kOpenCommandLineFile, PM_NOREMOVE));
    DestroyWindow(window);
    PumpMessages();
}

TEST_F(MainFrame, MainWindowWithADiagramScreenshot) {
    InstallDiagramHooks();
    SetWindowPos(window, HWND_TOP, 20, 20, 1024, 720, 0);
    // the run as a workshop keeps it, not where the build keeps its fixtures
    CreateDirectoryW(L"C:\\Messungen", nullptr);
    const std::wstring fixture = SampleMeasurement(L"runup.kxm");
    ASSERT_TRUE(CopyFileW(fixture.c_str(), L"C:\\Messungen\\Kunde-0001.kxm", FALSE));
    theApp().commandLine = L"C:\\Messungen\\Kunde-0001.kxm";
    SendMessageW(window, kOpenCommandLineFile, 0, 0);
    theApp().commandLine.clear();
    ASSERT_EQ(DiagramWindows().size(), 1u);
    SendMessageW(frame->client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(DiagramWindows()[0]), 0);
    Hover(ToolControl(ID_MEASURE));
    EXPECT_EQ(StatusText(), L"Messung starten");
    EXPECT_EQ(DiagramFiles(DiagramWindows()[0]), std::vector<std::wstring>{L"C:\\Messungen\\Kunde-0001.kxm"});
    EXPECT_TRUE(SaveWindowImage(window, L"main-window.png"));
    theDiagramHooks() = DiagramHooks{};
}
