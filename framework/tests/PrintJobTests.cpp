// Printing on the file printer of the test prefix: the printer context from
// the program's printer choice, what a print job does around its pages as
// its flags say, the abort procedure and "Abbruch", and one page whose
// rendering printed_page_tests checks afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "App.h"
#include "FrameworkState.h"
#include "PrintJob.h"
#include "PrinterSupport.h"
#include "TestSupport.h"
#include "Wnd.h"
#include "resource.h"

namespace {

const wchar_t kGroup[] = L"framework";
const wchar_t kDocument[] = L"Diagramm-Fenster";
constexpr UINT kProbeMessage = WM_APP + 5;

// Records the print-job notifications and a probe message.
class OwnerWnd : public CWnd {
public:
    explicit OwnerWnd(std::vector<std::wstring>* log) : log_(log) {}
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPrintJobStarted)
            log_->push_back(L"started " + std::wstring(reinterpret_cast<const wchar_t*>(lParam)));
        else if (message == kPrintJobEnded)
            log_->push_back(L"ended");
        else if (message == kProbeMessage)
            log_->push_back(L"probe");
        return CWnd::WndProc(message, wParam, lParam);
    }

private:
    std::vector<std::wstring>* log_;
};

HWND MakeWindow(CWnd* object, const wchar_t* title, int x) {
    const wchar_t* windowClass =
        RegisterWindowClass(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), LoadCursorW(nullptr, IDC_ARROW), nullptr, 0);
    CWnd* made = CreateBoundWindow(object, windowClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, nullptr, x,
                                   40, 400, 300);
    return made ? made->hwnd : nullptr;
}

int Millimetres(HDC dc, double mm, int axis) {
    return static_cast<int>(mm * GetDeviceCaps(dc, axis) / 25.4 + 0.5);
}

class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ChooseDefaultPrinter()) << "the prefix has no default printer (scripts/file-printer.sh)";
        owner = MakeWindow(new OwnerWnd(&log), L"Besitzer", 40);
        frame = MakeWindow(new CWnd, L"Hauptfenster", 480);
        ASSERT_TRUE(owner && frame);
        savedMainWindow = theFramework().mainWindow;
        theFramework().mainWindow = ObjectFromWindow(frame);
        PumpMessages();
    }
    void TearDown() override {
        theFramework().mainWindow = savedMainWindow;
        if (owner) DestroyWindow(owner);
        if (frame) DestroyWindow(frame);
        PumpMessages();
    }

    std::vector<std::wstring> log;
    HWND owner = nullptr;
    HWND frame = nullptr;
    CWnd* savedMainWindow = nullptr;
};

}  // namespace

TEST_F(PrintJobTest, PrinterContextComesFromTheChosenPrinterInPrinterPixels) {
    CPrintDC dc(nullptr, nullptr);
    ASSERT_TRUE(PrinterChosen());
    ASSERT_TRUE(CreatePrinterDC(owner, &dc, kPrintMetricsFlags));
    EXPECT_EQ(dc.hwnd, owner);
    EXPECT_EQ(dc.flags, 10);
    EXPECT_EQ(dc.GetKind(), kPrinterDC);
    RECT rect;
    dc.GetRect(&rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetDeviceCaps(dc.hdc, HORZRES));
    EXPECT_EQ(rect.bottom, GetDeviceCaps(dc.hdc, VERTRES));
    // the file printer's A4 sheet, at whatever resolution the driver gives
    double paperWidth = 25.4 * GetDeviceCaps(dc.hdc, PHYSICALWIDTH) / GetDeviceCaps(dc.hdc, LOGPIXELSX);
    double paperHeight = 25.4 * GetDeviceCaps(dc.hdc, PHYSICALHEIGHT) / GetDeviceCaps(dc.hdc, LOGPIXELSY);
    EXPECT_NEAR(paperWidth, 210, 1.5);
    EXPECT_NEAR(paperHeight, 297, 1.5);
    EXPECT_GE(GetDeviceCaps(dc.hdc, VERTSIZE), 280);

    // a second context in the same wrapper replaces the first
    HDC first = dc.hdc;
    ASSERT_TRUE(CreatePrinterDC(frame, &dc, kPrintPageFlags));
    EXPECT_NE(dc.hdc, nullptr);
    EXPECT_EQ(dc.hwnd, frame);
    EXPECT_EQ(dc.flags, 6);
    EXPECT_EQ(GetObjectType(first), 0u) << "the first context was not deleted";
}

TEST_F(PrintJobTest, WithoutPrinterChoiceThereIsNoContext) {
    FrameworkState& fw = theFramework();
    HGLOBAL names = fw.printerDevNames, mode = fw.printerDevMode;
    fw.printerDevNames = nullptr;
    fw.printerDevMode = nullptr;
    CPrintDC dc(nullptr, nullptr);
    EXPECT_FALSE(PrinterChosen());
    EXPECT_FALSE(CreatePrinterDC(owner, &dc, kPrintMetricsFlags));
    EXPECT_EQ(dc.hdc, nullptr);
    EXPECT_EQ(dc.hwnd, owner);
    fw.printerDevNames = names;
    fw.printerDevMode = mode;
}

TEST_F(PrintJobTest, FlagsSayWhoIsToldWhatIsShownAndWhatIsDisabled) {
    struct Case {
        uint16_t flags;
        bool notified, dialog, frameDisabled, ownerDisabled;
    };
    const Case cases[] = {
        {0, false, false, false, false}, {1, true, false, false, false},  {2, false, true, false, false},
        {4, false, false, true, false},  {8, false, false, false, true},  {6, false, true, true, false},
        {15, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("flags " + std::to_string(c.flags));
        log.clear();
        PrinterOutput output(kGroup, L"flags");
        ASSERT_TRUE(output.Redirected());
        CPrintDC dc(nullptr, nullptr);
        ASSERT_TRUE(CreatePrinterDC(owner, &dc, c.flags));
        thePrintState().abortRequested = 1;  // a job starts with it cleared

        ASSERT_TRUE(StartPrintJob(&dc, kDocument));
        PumpMessages();
        EXPECT_EQ(thePrintState().abortRequested, 0);
        EXPECT_EQ(log, c.notified ? std::vector<std::wstring>{L"started Diagramm-Fenster"} : std::vector<std::wstring>{});
        HWND dialog = thePrintState().progressDialog;
        EXPECT_EQ(dialog != nullptr, c.dialog);
        if (dialog) {
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
            EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_PRINT_DOCUMENT)), L"Diagramm-Fenster");
            EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDCANCEL)), L"Abbruch");
            bool saysPrinting = false;
            ForEachChild(dialog, [&](HWND child) {
                if (WindowTextOf(child) == L"Drucke...") saysPrinting = true;
                return 0;
            });
            EXPECT_TRUE(saysPrinting);
            if (c.flags == kPrintPageFlags) { EXPECT_TRUE(SaveScreenshot(dialog, L"print-progress.png")); }
        }
        EXPECT_EQ(!IsWindowEnabled(frame), c.frameDisabled);
        EXPECT_EQ(!IsWindowEnabled(owner), c.ownerDisabled);

        StartPage(dc.hdc);
        TextOutW(dc.hdc, 200, 200, L"Seite", 5);
        EndPage(dc.hdc);
        EndPrintJob(&dc);
        PumpMessages();
        EXPECT_EQ(log.size(), c.notified ? 2u : 0u);
        if (c.notified && log.size() == 2) { EXPECT_EQ(log[1], L"ended"); }
        EXPECT_TRUE(IsWindowEnabled(frame));
        EXPECT_TRUE(IsWindowEnabled(owner));
        EXPECT_EQ(thePrintState().progressDialog, nullptr);
        if (dialog) { EXPECT_FALSE(IsWindow(dialog)); }
        EXPECT_GT(output.FileSize(), 0) << "the page was not printed";
        DeleteFileW(output.path.c_str());
    }
}

TEST_F(PrintJobTest, AbortProcedurePumpsMessagesUntilAbbruchThenAnswersFalse) {
    PrinterOutput output(kGroup, L"cancelled");
    CPrintDC dc(nullptr, nullptr);
    ASSERT_TRUE(CreatePrinterDC(owner, &dc, kPrintPageFlags));
    ASSERT_TRUE(StartPrintJob(&dc, kDocument));
    HWND dialog = thePrintState().progressDialog;
    ASSERT_NE(dialog, nullptr);
    PumpMessages();

    // going on: waiting messages are dispatched
    PostMessageW(owner, kProbeMessage, 0, 0);
    EXPECT_EQ(PrintAbortProc(dc.hdc, 0), TRUE);
    EXPECT_EQ(log, std::vector<std::wstring>{L"probe"});

    // the button, as a click arrives: posted to the dialog
    StartPage(dc.hdc);
    TextOutW(dc.hdc, 200, 200, L"Abgebrochen", 11);
    EndPage(dc.hdc);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    EXPECT_EQ(PrintAbortProc(dc.hdc, 0), FALSE);
    EXPECT_EQ(thePrintState().abortRequested, 1);
    EXPECT_TRUE(IsWindow(dialog)) << "Abbruch only asks; the job closes its dialog";

    // from then on FALSE without pumping
    log.clear();
    PostMessageW(owner, kProbeMessage, 0, 0);
    EXPECT_EQ(PrintAbortProc(dc.hdc, 0), FALSE);
    EXPECT_TRUE(log.empty());
    PumpMessages();
    EXPECT_EQ(log, std::vector<std::wstring>{L"probe"});

    EndPrintJob(&dc);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(frame));
    EXPECT_EQ(output.FileSize(), -1) << "a cancelled job printed its page";
}

TEST_F(PrintJobTest, AbortProcedureCancelsWhenTheProgramQuits) {
    CPrintDC dc(nullptr, nullptr);
    ASSERT_TRUE(CreatePrinterDC(owner, &dc, kPrintMetricsFlags));
    thePrintState().abortRequested = 0;

    // the application's own loop takes the quit message
    CApp application;
    theFramework().application = &application;
    PostQuitMessage(3);
    EXPECT_EQ(PrintAbortProc(dc.hdc, 0), FALSE);
    EXPECT_TRUE(application.quit);
    EXPECT_EQ(application.exitCode, 3);
    theFramework().application = nullptr;

    // without an application object the quit message stays for the caller
    PostQuitMessage(4);
    EXPECT_EQ(PrintAbortProc(dc.hdc, 0), FALSE);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 4u);
    EXPECT_EQ(PrintAbortProc(dc.hdc, 0), TRUE);
}

// The page printed_page_tests checks: text with umlauts and two rectangles
// placed in millimetres from the printable area's corners.
TEST_F(PrintJobTest, PrintsAPageInPrinterUnits) {
    PrinterOutput output(kGroup, L"page");
    CPrintDC dc(nullptr, nullptr);
    ASSERT_TRUE(CreatePrinterDC(owner, &dc, kPrintPageFlags));
    ASSERT_TRUE(StartPrintJob(&dc, L"Prüfseite"));
    ASSERT_GT(StartPage(dc.hdc), 0);
    HDC hdc = dc.hdc;
    RECT page;
    dc.GetRect(&page);
    HFONT font = CreateFontW(-Millimetres(hdc, 5, LOGPIXELSY), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"Arial");
    HGDIOBJ oldFont = SelectObject(hdc, font);
    const wchar_t text[] = L"Kaltrenox Prüfseite: Meßzeitpunkt ÄÖÜ";
    TextOutW(hdc, Millimetres(hdc, 20, LOGPIXELSX), Millimetres(hdc, 20, LOGPIXELSY), text, lstrlenW(text));
    SelectObject(hdc, oldFont);
    DeleteObject(font);
    RECT black{Millimetres(hdc, 30, LOGPIXELSX), Millimetres(hdc, 50, LOGPIXELSY), Millimetres(hdc, 80, LOGPIXELSX),
               Millimetres(hdc, 70, LOGPIXELSY)};
    FillRect(hdc, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT red{page.right - Millimetres(hdc, 50, LOGPIXELSX), page.bottom - Millimetres(hdc, 30, LOGPIXELSY),
             page.right - Millimetres(hdc, 10, LOGPIXELSX), page.bottom - Millimetres(hdc, 10, LOGPIXELSY)};
    HBRUSH redBrush = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(hdc, &red, redBrush);
    DeleteObject(redBrush);
    EXPECT_GT(EndPage(hdc), 0);
    EndPrintJob(&dc);
    ASSERT_GT(output.FileSize(), 0);
    std::string postScript = output.Contents();
    EXPECT_EQ(postScript.rfind("%!PS", 0), 0u);
    EXPECT_NE(postScript.find("%%Title: (Pr\\374fseite)"), std::string::npos) << "document name missing";
}
