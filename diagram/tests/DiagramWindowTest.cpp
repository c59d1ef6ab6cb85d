// Diagram windows under Wine: opening, views and the frame's axis lists,
// adding and dropping files with their messages, the cursor read-out, the
// rubber-band zoom, the lambda panel, page view placement, the close question,
// and the pixels of curves, loss marks and panels. Message boxes are answered
// by a hook as a user would click them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>  // DROPFILES

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AxisLayout.h"
#include "CommonDialogs.h"
#include "Diag.h"
#include "DiagPage.h"
#include "DiagWnd.h"
#include "DiagramHooks.h"
#include "DiagramText.h"
#include "FrameworkState.h"
#include "MemDC.h"
#include "MeasurementFile.h"
#include "Settings.h"
#include "StringTable.h"
#include "SyntheticRuns.h"
#include "TestSupport.h"
#include "Utf8.h"
#include "resource.h"

namespace {

// The surface of the screen the diagrams are painted on.
Surface ScreenSurface() {
    HDC screen = GetDC(nullptr);
    const Surface s = SurfaceOf(screen, false);
    ReleaseDC(nullptr, screen);
    return s;
}

std::string narrow(const std::wstring& w) { return toUtf8(w); }

// ---- a main frame that records the diagrams' private messages -----------------

struct FrameMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class TestFrame : public CMDIFrame {
public:
    HWND CreateStatusBar() override {
        return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_LEFTNOWORDWRAP, 0, 0, 0, 0,
                               hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= kFrameAxisLists && message <= kFrameLambdaButton) {
            messages.push_back({message, wParam, lParam});
            return 0;
        }
        return CMDIFrame::WndProc(message, wParam, lParam);
    }
    // the last message of a kind, or a zero record
    FrameMessage Last(UINT message) const {
        for (auto m = messages.rbegin(); m != messages.rend(); ++m)
            if (m->message == message) return *m;
        return {0, 0, 0};
    }
    std::vector<FrameMessage> messages;
};

TestFrame* theFrame = nullptr;

// ---- message boxes answered as a user would -------------------------------------

struct SeenBox {
    std::wstring caption;
    std::wstring text;
};

class BoxAnswerer {
public:
    explicit BoxAnswerer(std::vector<int> answers = {}) : answers_(std::move(answers)) {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    }
    ~BoxAnswerer() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    std::vector<SeenBox> seen;
    int Count(int textId) const {
        return int(std::count_if(seen.begin(), seen.end(), [&](const SeenBox& b) { return b.text == portableText(textId); }));
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        HWND window = reinterpret_cast<HWND>(wParam);
        // file dialogs are the export tests' to answer
        if (code == HCBT_ACTIVATE && current_ && ClassNameOf(window) == L"#32770" && !GetDlgItem(window, cmb13) &&
            !GetDlgItem(window, edt1))
            current_->Answer(window);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    void Answer(HWND box) {
        SeenBox b{WindowTextOf(box), L""};
        ForEachChild(box, [&](HWND child) {
            if (ClassNameOf(child) == L"Static" && WindowTextOf(child).size() > b.text.size()) b.text = WindowTextOf(child);
            return 0;
        });
        seen.push_back(b);
        const int answer = next_ < answers_.size() ? answers_[next_++] : IDOK;
        PostMessageW(box, WM_COMMAND, answer, 0);
    }
    static BoxAnswerer* current_;
    HHOOK hook_;
    std::vector<int> answers_;
    size_t next_ = 0;
};
BoxAnswerer* BoxAnswerer::current_ = nullptr;

// ---- measurement files -----------------------------------------------------------

// The runs lie where a workshop keeps them, since their names show in the
// screenshots of the manual.
std::wstring TempFolder() {
    CreateDirectoryW(L"C:\\Messungen", nullptr);
    const std::wstring folder = L"C:\\Messungen\\Kunde-0002";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// Runs of different engines: index 0 to 8 give distinct torque curves.
std::wstring RunFile(int k, bool lambda = true, double coastSeconds = 8.0) {
    static const double torque[] = {100, 125, 85, 140, 95, 110, 70, 130, 90};
    static const double peak[] = {4000, 3500, 5000, 3000, 4500, 4200, 5200, 3800, 4700};
    static const double top[] = {6500, 6200, 6800, 5600, 6400, 6000, 7000, 6100, 6600};
    RunShape shape;
    shape.peakTorque = torque[k % 9];
    shape.peakRpm = peak[k % 9];
    shape.endRpm = top[k % 9];
    shape.lambda = lambda;
    shape.coastSeconds = coastSeconds;
    shape.comment = L"Prüflauf " + std::to_wstring(k + 1);
    Measurement m = syntheticRun(shape);
    std::wstring path = TempFolder() + L"\\lauf" + std::to_wstring(k + 1) + (lambda ? L"" : L"-ohne-lambda") +
                        (coastSeconds < 3 ? L"-kurz" : L"") + L".kxm";
    EXPECT_TRUE(writeRun(m, path)) << narrow(path);
    return path;
}

std::wstring GarbageFile() {
    std::wstring path = TempFolder() + L"\\keine-messung.kxm";
    std::ofstream(narrow(path), std::ios::binary) << "Dies ist keine Messwertdatei.";
    return path;
}

std::string FileBytes(const std::wstring& path) {
    std::ifstream in(narrow(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A drop of files, as the shell hands it to a window.
HDROP MakeDrop(const std::vector<std::wstring>& files) {
    size_t chars = 1;
    for (const auto& f : files) chars += f.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    wchar_t* p = reinterpret_cast<wchar_t*>(drop + 1);
    for (const auto& f : files) {
        std::copy(f.begin(), f.end(), p);
        p += f.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// ---- diagram windows -------------------------------------------------------------

struct DiagramWindow {
    explicit DiagramWindow(std::vector<std::wstring> files = {}, int width = 900, int height = 620) {
        window = OpenDiagramWindow(*theFrame, files.empty() ? std::wstring() : files[0]);
        EXPECT_NE(window, nullptr);
        if (!window) return;
        diag = window->diag;
        MoveWindow(window->hwnd, 10, 10, width, height, TRUE);
        for (size_t k = 1; k < files.size(); ++k) diag->AddFile(files[k]);
        PumpMessages();
    }
    ~DiagramWindow() {
        if (window && IsWindow(hwnd())) SendMessageW(theFrame->client, WM_MDIDESTROY, WPARAM(hwnd()), 0);
        PumpMessages();
    }
    HWND hwnd() const { return window ? window->hwnd : nullptr; }
    void Command(int id) { SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Mouse(UINT message, int x, int y, WPARAM keys = 0) { SendMessageW(diag->hwnd, message, keys, MAKELPARAM(x, y)); }
    void Drag(int x1, int y1, int x2, int y2, WPARAM keys = 0) {
        Mouse(WM_LBUTTONDOWN, x1, y1, keys | MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, x2, y2, keys | MK_LBUTTON);
        Mouse(WM_LBUTTONUP, x2, y2, keys);
    }
    // The diagram painted off the screen at its window's size.
    std::unique_ptr<CMemDC> Render() {
        RECT client{};
        GetClientRect(diag->hwnd, &client);
        auto memory = std::make_unique<CMemDC>(diag->hwnd, nullptr, client.right, client.bottom);
        FillRect(memory->hdc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        diag->Paint(memory.get());
        return memory;
    }
    CDiagWnd* window = nullptr;
    CDiag* diag = nullptr;
};

// How many pixels of the colour lie in the rectangle.
int CountColour(HDC dc, RECT r, COLORREF colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += GetPixel(dc, x, y) == colour;
    return n;
}

std::wstring StatusText() { return WindowTextOf(theFrame->statusBar); }

class Environment : public ::testing::Environment {
public:
    void SetUp() override {
        Settings& s = theSettings();
        completeLoadedSettings(s, portableText);
        s.fontName = L"Arial";
        TestFrame* frame = new TestFrame;
        const wchar_t* cls = RegisterWindowClass(nullptr, LoadCursorW(nullptr, IDC_ARROW), nullptr, 0);
        theFrame = static_cast<TestFrame*>(CreateBoundWindow(frame, cls, L"Kaltrenox", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                             nullptr, nullptr, 0, 0, 1200, 900));
        ASSERT_NE(theFrame, nullptr);
        theFramework().mainWindow = theFrame;
        PumpMessages();
    }
    void TearDown() override {
        theFramework().mainWindow = nullptr;
        DestroyWindow(theFrame->hwnd);
        PumpMessages();
    }
};
const auto* kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

// ---- opening and views -----------------------------------------------------------

TEST(DiagramWindow, NewWindowShowsEmptyPowerOverEngineSpeed) {
    for (int unit : {0, 1}) {
        theSettings().graphPowerUnit = int16_t(unit);
        theFrame->messages.clear();
        DiagramWindow w;
        ASSERT_NE(w.diag, nullptr);
        EXPECT_EQ(narrow(WindowTextOf(w.hwnd())), "Diagramm-Fenster");
        EXPECT_EQ(w.diag->d.xQuantity, kQuantityEngineSpeed);
        EXPECT_EQ(w.diag->d.yQuantity, unit ? kQuantityPowerKw : kQuantityPowerPs) << "PowerUnit " << unit;
        EXPECT_EQ(w.diag->d.view, (IntRect{-16000, 16000, 16000, -16000}));
        // the frame first learnt the empty diagram's quantities, then the view
        ASSERT_GE(theFrame->messages.size(), 2u);
        EXPECT_EQ(theFrame->messages[0].lParam, MAKELPARAM(kQuantityTime, kQuantitySpeed));
        EXPECT_EQ(theFrame->Last(kFrameAxisLists).lParam, MAKELPARAM(5, unit ? 3 : 2)) << "PowerUnit " << unit;
        // the diagram covers the client area, one pixel beyond each edge
        RECT client{};
        GetClientRect(w.hwnd(), &client);
        const RECT place = ChildRect(w.diag->hwnd);
        EXPECT_EQ(place.left, -1);
        EXPECT_EQ(place.top, -1);
        EXPECT_EQ(place.right, client.right + 1);
        EXPECT_EQ(place.bottom, client.bottom + 1);
        EXPECT_EQ(w.diag->WantsStatusHelp(), 0);
    }
    theSettings().graphPowerUnit = 0;
}

TEST(DiagramWindow, MinimumTrackingSizeAndRememberedShowState) {
    DiagramWindow w;
    MINMAXINFO limits{};
    SendMessageW(w.hwnd(), WM_GETMINMAXINFO, 0, LPARAM(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 300);
    EXPECT_EQ(limits.ptMinTrackSize.y, 200);
    ShowWindow(w.hwnd(), SW_MAXIMIZE);
    PumpMessages();
    EXPECT_EQ(theSettings().supervisorCmdShowChild, int32_t(WS_MAXIMIZE));
    {
        DiagramWindow next;
        EXPECT_TRUE(IsZoomed(next.hwnd()));
    }
    SendMessageW(theFrame->client, WM_MDIDESTROY, WPARAM(w.hwnd()), 0);
    PumpMessages();
    // as after a restart with the setting saved
    theSettings().supervisorCmdShowChild = int32_t(WS_MAXIMIZE);
    {
        DiagramWindow next;
        EXPECT_TRUE(IsZoomed(next.hwnd())) << "opens as the last one was left";
        ShowWindow(next.hwnd(), SW_RESTORE);
        PumpMessages();
        EXPECT_EQ(theSettings().supervisorCmdShowChild, 0);
    }
    DiagramWindow plain;
    EXPECT_FALSE(IsZoomed(plain.hwnd()));
}

TEST(DiagramWindow, QuickViewsAndAxisLists) {
    DiagramWindow w({RunFile(0)});
    struct Case {
        int command, powerUnit, x, y;
    } cases[] = {{1551, 1, 5, 3}, {1551, 0, 5, 2}, {1550, 0, 5, 1}, {1549, 0, 4, 5}, {1546, 0, 0, 5}, {1555, 1, 5, 7}, {1555, 0, 5, 8}};
    for (const auto& c : cases) {
        theSettings().graphPowerUnit = int16_t(c.powerUnit);
        w.Command(c.command);
        EXPECT_EQ(w.diag->d.xQuantity, c.x) << c.command;
        EXPECT_EQ(w.diag->d.yQuantity, c.y) << c.command;
        EXPECT_EQ(theFrame->Last(kFrameAxisLists).lParam, MAKELPARAM(c.x, c.y)) << c.command;
    }
    theSettings().graphPowerUnit = 0;

    // the tool bar's lists: a selection that ended with OK changes the axis
    HWND list = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 200, theFrame->hwnd,
                                HMENU(ID_AXIS_Y), nullptr, nullptr);
    for (int q = 0; q <= 8; ++q) SendMessageW(list, CB_ADDSTRING, 0, LPARAM(L"x"));
    SendMessageW(list, CB_SETCURSEL, 1, 0);
    SendMessageW(theFrame->hwnd, WM_COMMAND, MAKEWPARAM(ID_AXIS_Y, CBN_SELCHANGE), LPARAM(list));
    EXPECT_EQ(w.diag->d.yQuantity, 8) << "only the end of a selection counts";
    SendMessageW(theFrame->hwnd, WM_COMMAND, MAKEWPARAM(ID_AXIS_Y, CBN_SELENDOK), LPARAM(list));
    EXPECT_EQ(w.diag->d.yQuantity, 1);
    EXPECT_GT(w.diag->d.view.top, 500) << "torque range in tenths of Nm";
    SetWindowLongPtrW(list, GWLP_ID, ID_AXIS_X);
    SendMessageW(list, CB_SETCURSEL, 4, 0);
    SendMessageW(theFrame->hwnd, WM_COMMAND, MAKEWPARAM(ID_AXIS_X, CBN_SELENDOK), LPARAM(list));
    EXPECT_EQ(w.diag->d.xQuantity, 4);
    EXPECT_EQ(w.diag->d.yQuantity, 1);
    DestroyWindow(list);
}

TEST(DiagramWindow, ActivationReportsTheViewToTheFrame) {
    DiagramWindow a({RunFile(0)}), b;
    a.Command(1550);
    a.Command(ID_LAMBDA_CURVE);
    SendMessageW(theFrame->client, WM_MDIACTIVATE, WPARAM(b.hwnd()), 0);
    PumpMessages();
    theFrame->messages.clear();
    SendMessageW(theFrame->client, WM_MDIACTIVATE, WPARAM(a.hwnd()), 0);
    PumpMessages();
    EXPECT_EQ(theFrame->Last(kFramePageViewButton).message, kFramePageViewButton);
    EXPECT_EQ(theFrame->Last(kFramePageViewButton).wParam, 0u);
    EXPECT_EQ(theFrame->Last(kFrameLambdaButton).wParam, 1u);
    EXPECT_EQ(theFrame->Last(kFrameAxisLists).lParam, MAKELPARAM(5, 1));
}

// ---- files -----------------------------------------------------------------------

TEST(DiagramFiles, WrongFileAndMissingLossPointAreReported) {
    DiagramWindow w;
    BoxAnswerer boxes;
    EXPECT_FALSE(w.diag->AddFile(GarbageFile()));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(narrow(boxes.seen[0].text), "Falsches Dateiformat");
    EXPECT_EQ(narrow(boxes.seen[0].caption), "Fehler");
    EXPECT_EQ(w.diag->d.count, 0);
    const std::wstring shortRun = RunFile(2, true, 1.0);
    EXPECT_TRUE(w.diag->AddFile(shortRun));
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_EQ(boxes.Count(IDS_NO_COASTDOWN), 1);
    EXPECT_EQ(narrow(boxes.seen[1].caption), narrow(shortRun));
    EXPECT_EQ(w.diag->d.count, 1) << "the measurement stays in the diagram";
}

TEST(DiagramFiles, DroppingNineOnTwoAddsFiveAndWarnsOnce) {
    DiagramWindow w({RunFile(0), RunFile(1)});
    std::vector<std::wstring> files;
    for (int k = 0; k < 9; ++k) files.push_back(RunFile(k));
    BoxAnswerer boxes;
    SendMessageW(w.hwnd(), WM_DROPFILES, WPARAM(MakeDrop(files)), 0);
    PumpMessages();
    EXPECT_EQ(w.diag->d.count, 7);
    EXPECT_EQ(boxes.Count(IDS_DIAGRAM_FULL), 1);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(narrow(boxes.seen[0].caption), "Fehler");
    EXPECT_EQ(narrow(w.diag->d.measurements[6]->fileName), narrow(files[4]));
}

TEST(DiagramFiles, AddCommandUsesTheFileDialogUnlessFull) {
    static int asked = 0;
    static std::wstring answer;
    asked = 0;
    answer = RunFile(3);
    theDiagramHooks().chooseMeasurementFile = [](HWND, int flags) {
        ++asked;
        EXPECT_EQ(flags & 1, 1) << "open mode";
        theSettings().desktopLastFile = answer;
        return 1;
    };
    DiagramWindow w;
    w.Command(ID_FILE_ADD);
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(w.diag->d.count, 1);
    EXPECT_EQ(narrow(w.diag->d.measurements[0]->fileName), narrow(answer));
    for (int k = 1; k < 7; ++k) w.Command(ID_FILE_ADD);
    EXPECT_EQ(w.diag->d.count, 7);
    BoxAnswerer boxes;
    w.Command(ID_FILE_ADD);
    EXPECT_EQ(asked, 7) << "a full diagram asks for no file";
    EXPECT_EQ(boxes.Count(IDS_DIAGRAM_FULL), 1);
    theDiagramHooks().chooseMeasurementFile = nullptr;
}

TEST(DiagramFiles, DataAndCorrectionDialogsRecomputeOnOk) {
    static int edits = 0;
    edits = 0;
    theDiagramHooks().editData = [](HWND, DiagramState& d) -> INT_PTR {
        ++edits;
        d.measurements[0]->inertia *= 2;  // as the dialog would write a changed header
        return IDOK;
    };
    theDiagramHooks().correction = [](HWND, EvaluationOptions& o) -> INT_PTR {
        o.correction = 1;
        return IDOK;
    };
    DiagramWindow empty;
    empty.Command(ID_EDIT_DATA);
    EXPECT_EQ(edits, 0) << "no dialog without a measurement";
    DiagramWindow w({RunFile(0)});
    const int32_t top = w.diag->d.view.top;
    w.Command(ID_EDIT_DATA);
    EXPECT_EQ(edits, 1);
    EXPECT_GT(w.diag->d.view.top, top + top / 2) << "power of twice the inertia";
    w.Command(ID_CORRECTION);
    EXPECT_EQ(w.diag->d.options.correction, 1);
    EXPECT_NE(w.diag->d.measurements[0]->correctionFactor, 1.0);
    theDiagramHooks() = DiagramHooks{};
}

TEST(DiagramFiles, CloseQuestionNoThenCancelKeepsWindowAndSavesNothing) {
    const std::wstring first = RunFile(0), second = RunFile(1);
    const std::string before1 = FileBytes(first), before2 = FileBytes(second);
    DiagramWindow w({first, second});
    w.diag->d.measurements[0]->modified = 1;
    w.diag->d.measurements[0]->comment = L"geändert";
    w.diag->d.measurements[1]->modified = 1;
    w.diag->d.measurements[1]->comment = L"auch geändert";
    {
        BoxAnswerer boxes({IDNO, IDCANCEL});
        SendMessageW(w.hwnd(), WM_CLOSE, 0, 0);
        PumpMessages();
        ASSERT_EQ(boxes.seen.size(), 2u);
        EXPECT_EQ(narrow(boxes.seen[0].text), "Änderungen speichern?");
        EXPECT_EQ(narrow(boxes.seen[0].caption), narrow(first));
        EXPECT_EQ(narrow(boxes.seen[1].caption), narrow(second));
    }
    EXPECT_TRUE(IsWindow(w.hwnd()));
    EXPECT_EQ(FileBytes(first), before1);
    EXPECT_EQ(FileBytes(second), before2);
    {
        BoxAnswerer boxes({IDYES, IDNO});
        SendMessageW(w.hwnd(), WM_CLOSE, 0, 0);
        PumpMessages();
        EXPECT_EQ(boxes.seen.size(), 2u);
    }
    EXPECT_FALSE(IsWindow(w.hwnd()));
    EXPECT_NE(FileBytes(first), before1) << "Yes saved the first";
    EXPECT_EQ(FileBytes(second), before2) << "No left the second";
    Measurement reread;
    ASSERT_TRUE(readMeasurement(first, reread));
    EXPECT_EQ(narrow(reread.comment), "geändert");
}

TEST(DiagramFiles, FailedSaveKeepsTheWindowOpen) {
    DiagramWindow w({RunFile(0)});
    Measurement& m = *w.diag->d.measurements[0];
    m.modified = 1;
    m.fileName = L"C:\\kein-ordner-vorhanden\\lauf1.kxm";
    {
        BoxAnswerer boxes({IDYES, IDOK});
        SendMessageW(w.hwnd(), WM_CLOSE, 0, 0);
        PumpMessages();
        ASSERT_EQ(boxes.seen.size(), 2u);
        EXPECT_EQ(narrow(boxes.seen[1].text), "Die Datei konnte nicht gespeichert werden.");
        EXPECT_EQ(narrow(boxes.seen[1].caption), narrow(m.fileName));
    }
    EXPECT_TRUE(IsWindow(w.hwnd()));
    EXPECT_EQ(m.modified, 1);
    m.modified = 0;
}

// ---- mouse -----------------------------------------------------------------------

TEST(DiagramMouse, ReadOutInAndOutsideThePlot) {
    DiagramWindow w({RunFile(0)});
    w.Render();
    const IntRect plot = w.diag->layout.plot;
    const int x = (plot.left + plot.right) / 2, y = (plot.top + plot.bottom) / 2;
    w.Mouse(WM_MOUSEMOVE, x, y);
    const IntRect data = w.diag->d.PrimaryFrame(w.diag->layout).ToData({x, y, x, y});
    const std::wstring expected =
        L"(" + FormatScaled(0, data.right) + L" U/min, " + FormatScaled(1, data.bottom) + L" PS)";
    EXPECT_EQ(narrow(StatusText()), narrow(expected));
    EXPECT_EQ(w.diag->cursorHandle, LoadCursorW(nullptr, IDC_CROSS));
    w.Mouse(WM_MOUSEMOVE, 3, 4);
    EXPECT_EQ(narrow(StatusText()), narrow(OutsideReadout(plot, {3, 4})));
    EXPECT_EQ(w.diag->cursorHandle, LoadCursorW(nullptr, IDC_ARROW));
    // while dragging the anchor comes first
    w.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    w.Mouse(WM_MOUSEMOVE, x + 40, y + 30, MK_LBUTTON);
    EXPECT_NE(StatusText().find(L") -> ("), std::wstring::npos) << narrow(StatusText());
    w.Mouse(WM_LBUTTONUP, x + 40, y + 30);
    // an empty diagram ignores the mouse
    DiagramWindow empty;
    SetWindowTextW(theFrame->statusBar, L"unverändert");
    empty.Mouse(WM_MOUSEMOVE, 100, 100);
    EXPECT_EQ(narrow(StatusText()), "unverändert");
}

TEST(DiagramMouse, BandConfinesThePointerAndZoomsOnlyAboveTenPixels) {
    DiagramWindow w({RunFile(0)});
    UpdateWindow(w.diag->hwnd);
    w.Render();
    const IntRect plot = w.diag->layout.plot, full = w.diag->d.view;
    const int x = plot.left + 100, y = plot.top + 100;
    w.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), w.diag->hwnd);
    EXPECT_TRUE(w.diag->drag.active);
    RECT clip{};
    GetClipCursor(&clip);
    RECT expected{plot.left, plot.top, plot.right, plot.bottom};
    MapWindowPoints(w.diag->hwnd, nullptr, reinterpret_cast<POINT*>(&expected), 2);
    EXPECT_EQ(clip.left, expected.left);
    EXPECT_EQ(clip.top, expected.top);
    EXPECT_EQ(clip.right, expected.right);
    EXPECT_EQ(clip.bottom, expected.bottom);
    w.Mouse(WM_MOUSEMOVE, x + 10, y + 50, MK_LBUTTON);
    HDC screen = GetDC(w.diag->hwnd);
    const COLORREF inverted = GetPixel(screen, x + 5, y + 25);
    w.Mouse(WM_LBUTTONUP, x + 10, y + 50);
    const COLORREF after = GetPixel(screen, x + 5, y + 25);
    ReleaseDC(w.diag->hwnd, screen);
    EXPECT_EQ(inverted, RGB(0, 0, 0)) << "the band inverts the white plot";
    EXPECT_EQ(after, RGB(255, 255, 255)) << "a band too small to zoom is taken off again";
    EXPECT_EQ(GetCapture(), nullptr);
    GetClipCursor(&clip);
    EXPECT_GT(clip.right - clip.left, plot.right - plot.left) << "the pointer is free again";
    EXPECT_EQ(w.diag->d.view, full) << "10 x 50 does not zoom";
    const IntRect band = w.diag->d.PrimaryFrame(w.diag->layout).ToData({x, y, x + 11, y + 11});
    w.Drag(x, y, x + 11, y + 11);
    EXPECT_NE(w.diag->d.view, full) << "11 x 11 zooms";
    EXPECT_EQ(w.diag->d.view, band);
    w.Command(ID_ZOOM_ALL);
    EXPECT_EQ(w.diag->d.view, full);
}

TEST(DiagramMouse, CtrlDragInViewSevenZoomsTorqueAndX) {
    theSettings().graphPowerUnit = 1;
    DiagramWindow w({RunFile(0)});
    w.Command(ID_VIEW_POWER_TORQUE);
    ASSERT_EQ(w.diag->d.yQuantity, 7);
    w.Render();
    DiagramState& d = w.diag->d;
    const IntRect full = d.view;
    const int32_t torqueTop = d.torqueRangeTop, torqueBottom = d.torqueRangeBottom;
    const PlotLayout& layout = w.diag->layout;
    const int x = layout.plot.left + 50, y = layout.torqueTop + 40;
    const IntRect torqueBand = d.TorqueFrame(layout).ToData({x, y, x + 200, y + 100});
    w.Drag(x, y, x + 200, y + 100, MK_CONTROL);
    EXPECT_EQ(d.torqueRangeTop, torqueBand.top);
    EXPECT_EQ(d.torqueRangeBottom, torqueBand.bottom);
    EXPECT_EQ(d.view.left, torqueBand.left);
    EXPECT_EQ(d.view.right, torqueBand.right);
    EXPECT_EQ(d.view.top, full.top) << "the power axis keeps its range";
    EXPECT_EQ(d.view.bottom, full.bottom);
    EXPECT_FALSE(w.diag->drag.torque);
    w.Command(ID_ZOOM_ALL);
    EXPECT_EQ(d.view, full);
    EXPECT_EQ(d.torqueRangeTop, torqueTop);
    EXPECT_EQ(d.torqueRangeBottom, torqueBottom);
    // with Ctrl the read-out is in Nm
    w.Mouse(WM_MOUSEMOVE, x, y, MK_CONTROL);
    EXPECT_NE(StatusText().find(L" Nm)"), std::wstring::npos) << narrow(StatusText());
    w.Mouse(WM_MOUSEMOVE, x, y);
    EXPECT_NE(StatusText().find(L" kW)"), std::wstring::npos) << narrow(StatusText());
    theSettings().graphPowerUnit = 0;
}

// ---- page view ---------------------------------------------------------------------

TEST(DiagramPageView, PageKeepsThePapersProportionsCentred) {
    // a printer has been chosen: page view needs no printer dialog
    HGLOBAL printer = GlobalAlloc(GHND, 64);
    theFramework().printerDevNames = printer;
    DiagramWindow w({RunFile(0)});
    theFrame->messages.clear();
    w.Command(ID_VIEW_PAGE);
    EXPECT_TRUE(w.diag->d.pageView);
    EXPECT_EQ(theFrame->Last(kFramePageViewButton).wParam, 1u);
    for (SIZE size : {SIZE{900, 620}, SIZE{500, 700}, SIZE{700, 300}}) {
        MoveWindow(w.hwnd(), 10, 10, size.cx, size.cy, TRUE);
        PumpMessages();
        RECT client{};
        GetClientRect(w.hwnd(), &client);
        const RECT page = ChildRect(w.diag->hwnd);
        const int width = page.right - page.left, height = page.bottom - page.top;
        EXPECT_NEAR(double(width) / height, 210.0 / 297.0, 0.01) << size.cx << "x" << size.cy;
        EXPECT_GE(page.left, 5);
        EXPECT_GE(page.top, 5);
        EXPECT_LE(page.right, client.right - 5);
        EXPECT_LE(page.bottom, client.bottom - 5);
        EXPECT_LE(std::abs((page.left - client.left) - (client.right - page.right)), 1) << "centred";
    }
    // no loss marks and no read-out in page view
    std::vector<IntPoint> points;
    IntPoint loss;
    EXPECT_FALSE(w.diag->d.CurvePoints(0, w.diag->d.PrimaryFrame(w.diag->layout), points, &loss));
    SetWindowTextW(theFrame->statusBar, L"");
    w.Mouse(WM_MOUSEMOVE, 50, 50);
    EXPECT_EQ(narrow(StatusText()), "");
    // a band on the page makes that part of the page fill the diagram window
    RECT client{};
    GetClientRect(w.hwnd(), &client);
    const RECT fitted = ChildRect(w.diag->hwnd);
    w.Drag(20, 30, 60, 40);
    const IntRect band = w.diag->drag.rect;
    EXPECT_NEAR(double(band.width()) / band.height(), double(client.right) / client.bottom, 0.05)
        << "the band keeps the window's proportions";
    const RECT zoomed = ChildRect(w.diag->hwnd);
    EXPECT_GT(zoomed.right - zoomed.left, 3 * (fitted.right - fitted.left));
    // the band's left edge lands at the window's left edge, within a pixel
    // of the page as it was (the page keeps the paper's proportions)
    const double scale = double(zoomed.right - zoomed.left) / (fitted.right - fitted.left);
    EXPECT_NEAR((zoomed.left + band.left * scale) / scale, 0, 1.5) << zoomed.left << " at scale " << scale;
    w.Command(ID_ZOOM_ALL);
    EXPECT_TRUE(w.diag->d.pagePlacement.isEmpty());
    const RECT again = ChildRect(w.diag->hwnd);
    EXPECT_EQ(again.left, fitted.left);
    EXPECT_EQ(again.right, fitted.right);
    w.Command(ID_VIEW_PAGE);
    EXPECT_FALSE(w.diag->d.pageView);
    EXPECT_EQ(theFrame->Last(kFramePageViewButton).wParam, 0u);
    EXPECT_EQ(ChildRect(w.diag->hwnd).left, -1);
    theFramework().printerDevNames = nullptr;
    GlobalFree(printer);
}

TEST(DiagramPageView, CancelledPrinterChoiceKeepsPageViewOff) {
    ASSERT_EQ(PrinterDevNames(), nullptr);
    DiagramWindow w({RunFile(0)});
    theFrame->messages.clear();
    {
        BoxAnswerer boxes({IDCANCEL, IDCANCEL, IDCANCEL});
        w.Command(ID_VIEW_PAGE);
    }
    EXPECT_FALSE(w.diag->d.pageView);
    EXPECT_EQ(theFrame->Last(kFramePageViewButton).message, kFramePageViewButton);
    EXPECT_EQ(theFrame->Last(kFramePageViewButton).wParam, 0u) << "the button pops out again";
    EXPECT_EQ(ChildRect(w.diag->hwnd).left, -1);
}

// ---- pixels and screenshots ---------------------------------------------------------

// Colour of curve i at an interior vertex, searched in the 3 × 3 pixels around it.
bool CurveShowsColour(DiagramWindow& w, HDC dc, int i, int* checked) {
    std::vector<IntPoint> points;
    w.diag->d.CurvePoints(i, w.diag->d.PrimaryFrame(w.diag->layout), points, nullptr);
    int found = 0, tried = 0;
    // run-up only: the coast-down curves of different runs lie on each other
    for (size_t k = points.size() / 10; k < points.size() / 2; k += points.size() / 20 + 1) {
        ++tried;
        bool hit = false;
        for (int dy = -1; dy <= 1 && !hit; ++dy)
            for (int dx = -1; dx <= 1 && !hit; ++dx) hit = GetPixel(dc, points[k].x + dx, points[k].y + dy) == kCurveColours[i];
        found += hit;
    }
    *checked = tried;
    return found >= tried - 1;
}

TEST(DiagramPixels, PowerViewWithThreeRunsColoursAndLossCircles) {
    DiagramWindow w({RunFile(0), RunFile(1), RunFile(2)}, 960, 680);
    auto picture = w.Render();
    for (int i = 0; i < 3; ++i) {
        int checked = 0;
        EXPECT_TRUE(CurveShowsColour(w, picture->hdc, i, &checked)) << "curve " << i << " over " << checked << " points";
        // the loss mark: a circle of 1 mm around the loss point
        std::vector<IntPoint> points;
        IntPoint loss;
        ASSERT_TRUE(w.diag->d.CurvePoints(i, w.diag->d.PrimaryFrame(w.diag->layout), points, &loss));
        const int r = ScreenSurface().MmX(10);
        int onCircle = 0;
        const int offsets[8][2] = {{0, -r}, {0, r - 1}, {-r, 0}, {r - 1, 0}, {-3, -3}, {2, 2}, {-3, 2}, {2, -3}};
        for (const auto& o : offsets) {
            bool hit = false;
            for (int dy = -1; dy <= 1 && !hit; ++dy)
                for (int dx = -1; dx <= 1 && !hit; ++dx)
                    hit = GetPixel(picture->hdc, loss.x + o[0] + dx, loss.y + o[1] + dy) == kCurveColours[i];
            onCircle += hit;
        }
        EXPECT_GE(onCircle, 7) << "loss circle of curve " << i << " at " << loss.x << "," << loss.y;
    }
    // the legend: the file names in their colours above and in the plot
    const IntRect plot = w.diag->layout.plot;
    const Surface s = ScreenSurface();
    RECT legend{plot.left + s.MmX(50), plot.top - s.MmY(35), plot.left + s.MmX(1000), plot.top + s.MmY(115)};
    EXPECT_GT(CountColour(picture->hdc, legend, kCurveColours[1]), 20);
    EXPECT_GT(CountColour(picture->hdc, legend, kCurveColours[2]), 20);
    EXPECT_TRUE(SaveScreenshot(w.hwnd(), L"diagram-power-three-runs.png"));
}

TEST(DiagramPixels, CombinedViewDrawsThreeAndTheLambdaPanelAll) {
    theSettings().graphPowerUnit = 1;
    DiagramWindow w({RunFile(0), RunFile(1), RunFile(2, false), RunFile(3)}, 960, 720);
    w.Command(ID_VIEW_POWER_TORQUE);
    auto combined = w.Render();
    const IntRect plot = w.diag->layout.plot;
    const Surface s = ScreenSurface();
    // below the legend, the fourth (blue) file is not drawn; the first three are
    RECT curves{plot.left, plot.top + s.MmY(200), plot.right, plot.bottom};
    EXPECT_EQ(CountColour(combined->hdc, curves, kCurveColours[3]), 0);
    EXPECT_GT(CountColour(combined->hdc, curves, kCurveColours[1]), 50);
    // the right axis' grid is red and lies in the lower two thirds
    RECT aboveTorque{plot.right + 1, plot.top, plot.right + s.MmX(40), w.diag->layout.torqueTop - s.MmY(80)};
    RECT torqueSide{plot.right + 1, w.diag->layout.torqueTop, plot.right + s.MmX(40), plot.bottom};
    EXPECT_EQ(CountColour(combined->hdc, aboveTorque, RGB(0, 0, 0)), 0) << "no torque ticks above the lower two thirds";
    EXPECT_GT(CountColour(combined->hdc, torqueSide, RGB(0, 0, 0)), 10);
    EXPECT_TRUE(SaveScreenshot(w.hwnd(), L"diagram-combined-view-7.png"));

    w.Command(ID_LAMBDA_CURVE);
    EXPECT_EQ(theFrame->Last(kFrameLambdaButton).wParam, 1u);
    auto withPanel = w.Render();
    RECT client{};
    GetClientRect(w.diag->hwnd, &client);
    const PlotLayout panel = LayoutPlot({0, 0, client.right, client.bottom}, kLambdaPanel, s);
    RECT inside{panel.plot.left + 1, panel.plot.top + 1, panel.plot.right, panel.plot.bottom};
    EXPECT_GT(CountColour(withPanel->hdc, inside, kCurveColours[3]), 20) << "the panel draws the fourth file";
    EXPECT_GT(CountColour(withPanel->hdc, inside, kCurveColours[0]), 20);
    EXPECT_EQ(CountColour(withPanel->hdc, inside, kCurveColours[2]), 0) << "no lambda channel: below the range";
    EXPECT_GT(CountColour(withPanel->hdc, inside, RGB(255, 0, 0)), panel.plot.right - panel.plot.left)
        << "the red reference line at 13.0 and the red run";
    EXPECT_EQ(w.diag->layout.plot.bottom, plot.bottom - (client.bottom * 20 / 100)) << "the main plot moved up";
    EXPECT_TRUE(SaveScreenshot(w.hwnd(), L"diagram-lambda-panel.png"));
    theSettings().graphPowerUnit = 0;
}


// ---- export ----------------------------------------------------------------------------

// What a file dialog showed and what was typed into it.
struct FileDialogVisit {
    bool seen = false;
    std::wstring caption;
    std::wstring name;                // the proposed name
    std::wstring folder;              // the folder it opened in
    std::vector<std::wstring> types;  // the entries of its type list
    std::wstring type;                // the selected entry
};

FileDialogVisit* gVisit = nullptr;
std::wstring gTypedName;
const wchar_t* gDialogScreenshot = nullptr;
wchar_t gTestFolder[MAX_PATH] = {};  // the file dialog may change the current folder while it browses

std::vector<std::wstring> ComboTexts(HWND combo) {
    std::vector<std::wstring> texts;
    const LRESULT n = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        wchar_t text[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

BOOL CALLBACK FindFileDialog(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && ClassNameOf(window) == L"#32770" && (GetDlgItem(window, cmb13) || GetDlgItem(window, edt1))) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Once the file dialog is up: note what it shows, type the name, confirm.
void CALLBACK AnswerFileDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || !gVisit) return;
    KillTimer(nullptr, timer);
    FileDialogVisit& v = *gVisit;
    v.seen = true;
    v.caption = WindowTextOf(dialog);
    HWND field = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
    v.name = WindowTextOf(field);
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    v.folder = folder;
    v.types = ComboTexts(GetDlgItem(dialog, cmb1));
    v.type = WindowTextOf(GetDlgItem(dialog, cmb1));
    if (gDialogScreenshot) {
        wchar_t browsing[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, browsing);
        SetCurrentDirectoryW(gTestFolder);
        EXPECT_TRUE(SaveScreenshot(dialog, gDialogScreenshot));
        SetCurrentDirectoryW(browsing);
    }
    SetWindowTextW(field, gTypedName.c_str());
    PostMessageW(dialog, WM_COMMAND, gTypedName.empty() ? IDCANCEL : IDOK, 0);
}

// Runs the export command of the window with the file dialog answered by
// `typed` (empty: cancelled).
FileDialogVisit Export(DiagramWindow& w, const std::wstring& typed, const wchar_t* screenshot = nullptr) {
    FileDialogVisit visit;
    gVisit = &visit;
    gTypedName = typed;
    gDialogScreenshot = screenshot;
    GetCurrentDirectoryW(MAX_PATH, gTestFolder);
    SetTimer(nullptr, 0, 50, &AnswerFileDialog);
    w.Command(ID_FILE_EXPORT);
    PumpMessages();
    gVisit = nullptr;
    wchar_t now[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, now);
    EXPECT_EQ(narrow(now), narrow(gTestFolder)) << "the export leaves the program's current folder alone";
    SetCurrentDirectoryW(gTestFolder);
    return visit;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t semicolon; (semicolon = line.find(';', start)) != std::string::npos; start = semicolon + 1)
        fields.push_back(line.substr(start, semicolon - start));
    fields.push_back(line.substr(start));
    return fields;
}

// "171,8" for 1718 with one decimal
std::string German(int32_t value, int decimals) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (decimals > 0) {
        while (int(digits.size()) <= decimals) digits.insert(0, "0");
        digits.insert(digits.size() - decimals, ",");
    }
    return (value < 0 ? "-" : "") + digits;
}

// Where a workshop keeps its runs and the reports for its customers.
std::wstring MeasurementsFolder() {
    CreateDirectoryW(L"C:\\Messungen", nullptr);
    return L"C:\\Messungen";
}

std::wstring ExportFolder() {
    std::wstring folder = MeasurementsFolder() + L"\\Berichte";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring CustomerRun(int k) {
    const std::wstring path = MeasurementsFolder() + L"\\Kunde-000" + std::to_wstring(k + 1) + L".kxm";
    CopyFileW(RunFile(k).c_str(), path.c_str(), FALSE);
    return path;
}

TEST(DiagramExport, PointsGoToACsvForGermanSpreadsheets) {
    theSettings().desktopLastExport.clear();
    DiagramWindow w({CustomerRun(0), CustomerRun(1)});
    const std::wstring target = ExportFolder() + L"\\Kunde-0001.csv";
    DeleteFileW(target.c_str());

    const FileDialogVisit visit = Export(w, target, L"export-dialog.png");
    ASSERT_TRUE(visit.seen) << "the file dialog opened";
    EXPECT_EQ(narrow(visit.name), "Kunde-0001.png") << "the first measurement's name with the first type's extension";
    EXPECT_EQ(narrow(visit.folder), narrow(MeasurementsFolder())) << "beside the measurement before any export";
    ASSERT_FALSE(visit.types.empty());
    EXPECT_EQ(narrow(visit.types.back()), "Meßpunkte als CSV (*.csv)");
    EXPECT_EQ(narrow(theSettings().desktopLastExport), narrow(target));

    const std::string file = FileBytes(target);
    ASSERT_GE(file.size(), 3u);
    EXPECT_EQ(file.substr(0, 3), "\xEF\xBB\xBF") << "UTF-8 with a byte-order mark";
    const std::vector<std::string> lines = Lines(file.substr(3));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Datei;Index;Zeit [s];Geschwindigkeit [km/h];Drehzahl [U/min];Wegstrecke [m];"
                        "Drehmoment [Nm];Leistung [kW];Leistung [PS];A/F");

    // one row per evaluation point of each measurement, in order, with its
    // file name and the values the diagram reads there
    DiagramState& d = w.diag->d;
    size_t row = 1;
    for (int i = 0; i < d.count; ++i) {
        Measurement& m = *d.measurements[i];
        const std::string name = "Kunde-000" + std::to_string(i + 1) + ".kxm";
        d.cursor.rewind(m);
        int points = 0;
        do {
            ++points;
            ASSERT_LT(row, lines.size()) << name << " point " << points;
            const std::vector<std::string> f = Fields(lines[row++]);
            ASSERT_EQ(f.size(), 10u) << lines[row - 1];
            const uint16_t at = d.cursor.index();
            EXPECT_EQ(f[0], name);
            EXPECT_EQ(f[1], std::to_string(at));
            EXPECT_EQ(f[2], German(d.cursor.quantityValue(kQuantityTime, at), 2)) << name << " at " << at;
            EXPECT_EQ(f[6], German(d.cursor.quantityValue(kQuantityTorque, at), 1)) << name << " at " << at;
            EXPECT_EQ(f[7], German(d.cursor.quantityValue(kQuantityPowerKw, at), 1)) << name << " at " << at;
        } while (d.cursor.advance());
        EXPECT_GT(points, 50) << name;
    }
    EXPECT_EQ(row, lines.size()) << "no rows beyond the points";
    EXPECT_NE(lines[1].find(','), std::string::npos) << "decimal commas";
    EXPECT_EQ(lines[1].find('.', lines[1].find(".kxm") + 4), std::string::npos) << "no decimal points";

    // the next export starts in the folder of the last one
    const FileDialogVisit again = Export(w, L"");
    ASSERT_TRUE(again.seen);
    EXPECT_EQ(narrow(again.folder), narrow(ExportFolder()));
    EXPECT_EQ(narrow(again.name), "Kunde-0001.csv") << "with the type exported last";
    EXPECT_EQ(narrow(again.type), "Meßpunkte als CSV (*.csv)");
    EXPECT_EQ(narrow(theSettings().desktopLastExport), narrow(target)) << "a cancelled export changes nothing";
    theSettings().desktopLastExport.clear();
}

// A big-endian 32-bit number of a PNG chunk.
uint32_t BigEndian(const std::string& bytes, size_t at) {
    if (at + 4 > bytes.size()) return 0;
    return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
           uint32_t(uint8_t(bytes[at + 2])) << 8 | uint32_t(uint8_t(bytes[at + 3]));
}

TEST(DiagramExport, ThePageGoesToAPngOfTheWholeSheetAtPrinterResolutionOrAnEmf) {
    theSettings().desktopLastExport.clear();
    DiagramWindow w({CustomerRun(0), CustomerRun(1), CustomerRun(2)});
    const std::wstring png = ExportFolder() + L"\\Kunde-0001.png", emf = ExportFolder() + L"\\Kunde-0001.emf";
    DeleteFileW(png.c_str());
    DeleteFileW(emf.c_str());
    const FileDialogVisit visit = Export(w, png);
    ASSERT_TRUE(visit.seen);
    EXPECT_EQ(narrow(visit.name), "Kunde-0001.png") << "the first type before any export";
    EXPECT_EQ(visit.types, (std::vector<std::wstring>{L"Druckseite als PNG-Bild (*.png)",
                                                      L"Druckseite als EMF-Grafik (*.emf)",
                                                      L"Meßpunkte als CSV (*.csv)"}));
    const std::string picture = FileBytes(png);
    ASSERT_GT(picture.size(), 1000u);
    EXPECT_EQ(picture.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(picture.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian(picture, 16), 2480u) << "A4 at 300 dpi";
    EXPECT_EQ(BigEndian(picture, 20), 3508u);
    const size_t phys = picture.find("pHYs");
    ASSERT_NE(phys, std::string::npos) << "the resolution is stated";
    EXPECT_EQ(BigEndian(picture, phys + 4), 11811u) << "300 dpi in pixels per metre";
    EXPECT_EQ(w.diag->d.pageView, 0) << "the window keeps its view";

    // the next export proposes the type of the last one
    const FileDialogVisit again = Export(w, emf);
    ASSERT_TRUE(again.seen);
    EXPECT_EQ(narrow(again.name), "Kunde-0001.png");
    EXPECT_EQ(narrow(again.type), "Druckseite als PNG-Bild (*.png)");
    const std::string drawing = FileBytes(emf);
    ASSERT_GT(drawing.size(), 1000u);
    EXPECT_EQ(drawing.substr(40, 4), " EMF") << "an enhanced metafile";
    HENHMETAFILE metafile = GetEnhMetaFileW(emf.c_str());
    ASSERT_NE(metafile, nullptr);
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(metafile, sizeof header, &header);
    EXPECT_EQ(header.rclFrame.right - header.rclFrame.left, 21000) << "A4 wide, in hundredths of a millimetre";
    EXPECT_EQ(header.rclFrame.bottom - header.rclFrame.top, 29700);
    EXPECT_GT(header.nRecords, 100u) << "drawn in vectors";
    DeleteEnhMetaFile(metafile);
    EXPECT_EQ(narrow(theSettings().desktopLastExport), narrow(emf));
    theSettings().desktopLastExport.clear();
}

TEST(DiagramExport, AFileThatCannotBeWrittenIsReportedAndNothingHalfWrittenStays) {
    theSettings().desktopLastExport.clear();
    DiagramWindow w({CustomerRun(2)});
    const std::wstring target = ExportFolder() + L"\\gesperrt.csv";
    std::ofstream(narrow(target), std::ios::binary) << "alte Datei";
    // the temporary file the export writes first cannot be made
    const std::wstring blocker = target + L".tmp~";
    CreateDirectoryW(blocker.c_str(), nullptr);

    BoxAnswerer boxes({IDYES, IDOK});  // the file dialog's question about replacing the file, then ours
    const FileDialogVisit visit = Export(w, target);
    ASSERT_TRUE(visit.seen);
    ASSERT_FALSE(boxes.seen.empty());
    EXPECT_EQ(narrow(boxes.seen.back().caption), narrow(target)) << "captioned with the path";
    EXPECT_EQ(narrow(boxes.seen.back().text), "Die Datei konnte nicht gespeichert werden.");
    EXPECT_EQ(FileBytes(target), "alte Datei") << "the old file stays as it was";
    EXPECT_TRUE(theSettings().desktopLastExport.empty()) << "a failed export is not remembered";
    RemoveDirectoryW(blocker.c_str());

    // a name without extension gets the one of the chosen type
    const std::wstring plain = ExportFolder() + L"\\ohne-endung";
    DeleteFileW((plain + L".png").c_str());
    ASSERT_TRUE(Export(w, plain).seen);
    EXPECT_EQ(FileBytes(plain + L".png").substr(0, 4), "\x89PNG");
    theSettings().desktopLastExport.clear();
}

TEST(DiagramExport, EmptyDiagramOffersNothing) {
    DiagramWindow w;
    FileDialogVisit visit;
    gVisit = &visit;
    gTypedName.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &AnswerFileDialog);
    w.Command(ID_FILE_EXPORT);
    PumpMessages();
    Sleep(120);
    PumpMessages();
    KillTimer(nullptr, timer);
    gVisit = nullptr;
    EXPECT_FALSE(visit.seen);
}

}  // namespace
