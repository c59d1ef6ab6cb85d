// Printing diagrams on the file printer of the test prefix, through the
// print command with its printer set-up dialog answered as a user would:
// the pages go to build/windows/printer/pages/diagram, where
// diagram_printed_page_tests reads their renderings. Beside each page a
// NAME.expected file lists what that page must show, worked out here from
// the measurements without the page layout's code.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "CommonDialogs.h"
#include "Diag.h"
#include "DiagExport.h"
#include "DiagPage.h"
#include "DiagWnd.h"
#include "FrameworkState.h"
#include "MemDC.h"
#include "PrintJob.h"
#include "PrinterSupport.h"
#include "Settings.h"
#include "StringTable.h"
#include "SyntheticRuns.h"
#include "TestSupport.h"
#include "Utf8.h"
#include "resource.h"

namespace {

const wchar_t kGroup[] = L"diagram";

// ---- a main frame that records the diagrams' page-view button -----------------

class TestFrame : public CMDIFrame {
public:
    HWND CreateStatusBar() override {
        return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_SUNKEN, 0, 0, 0, 0, hwnd, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kFramePageViewButton) pageViewButton.push_back(int(wParam));
        if (message == WM_ENABLE) enabling.push_back(int(wParam));
        if (message >= kFrameAxisLists && message <= kFrameLambdaButton) return 0;
        return CMDIFrame::WndProc(message, wParam, lParam);
    }
    std::vector<int> pageViewButton;  // every state the button was set to
    std::vector<int> enabling;        // every WM_ENABLE's state
};

TestFrame* theFrame = nullptr;

// ---- the printer set-up dialog answered, the progress dialog watched -----------

class DialogAnswerer {
public:
    explicit DialogAnswerer(int answer) : answer_(answer) {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    }
    ~DialogAnswerer() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }

    int setupDialogs = 0;          // printer set-up dialogs answered
    int progressDialogs = 0;       // "PRINTDLG" seen
    std::wstring documentName;     // what the progress dialog showed when it closed
    int pageViewWhilePrinting = -1;
    std::vector<std::wstring> messages;  // "caption: text" of every message box
    CDiag* diag = nullptr;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (current_ && code == HCBT_ACTIVATE && ClassNameOf(window) == L"#32770") current_->Seen(window);
        if (current_ && code == HCBT_DESTROYWND && window == current_->progress_)
            current_->documentName = WindowTextOf(GetDlgItem(window, IDC_PRINT_DOCUMENT));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    void Seen(HWND dialog) {
        if (dialog == progress_) return;
        bool progress = false;
        ForEachChild(dialog, [&](HWND child) {
            if (WindowTextOf(child) == L"Drucke...") progress = true;
            return 0;
        });
        if (progress) {
            progress_ = dialog;
            ++progressDialogs;
            if (diag) pageViewWhilePrinting = diag->d.pageView;
            return;
        }
        if (HWND text = GetDlgItem(dialog, 0xFFFF)) {  // a message box: its caption and text
            messages.push_back(WindowTextOf(dialog) + L": " + WindowTextOf(text));
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            return;
        }
        ++setupDialogs;
        PostMessageW(dialog, WM_COMMAND, answer_, 0);
    }
    static DialogAnswerer* current_;
    HHOOK hook_;
    int answer_;
    HWND progress_ = nullptr;
};
DialogAnswerer* DialogAnswerer::current_ = nullptr;

// ---- measurements ---------------------------------------------------------------

// The runs lie where a workshop keeps them, since their names show in the
// screenshots of the manual.
std::wstring TempFolder() {
    CreateDirectoryW(L"C:\\Messungen", nullptr);
    const std::wstring folder = L"C:\\Messungen\\Golf-VI";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

const wchar_t kLongComment[] =
    L"Serienstand mit offenem Luftfilterkasten, Zündung 2° früher, neue Kerzen; Reifendruck 2,8 bar, "
    L"Spanngurte nachgezogen. Kunde wünscht Vergleich mit dem Lauf vom Vormittag und einen Ausdruck "
    L"für die Werkstattakte. Nächster Termin nach dem Einbau der Sportabgasanlage.";

struct RunSpec {
    RunShape shape;
    int32_t recordedAt;
};

std::wstring WriteRun(const RunSpec& spec, const std::wstring& name) {
    Measurement m = syntheticRun(spec.shape);
    m.recordedAt = spec.recordedAt;
    std::wstring path = TempFolder() + L"\\" + name + L".kxm";
    EXPECT_TRUE(writeRun(m, path)) << toUtf8(path);
    return path;
}

RunSpec Run(double peakTorque, double peakRpm, double endRpm, const std::wstring& comment, int32_t recordedAt) {
    RunSpec spec;
    spec.shape.peakTorque = peakTorque;
    spec.shape.peakRpm = peakRpm;
    spec.shape.endRpm = endRpm;
    spec.shape.comment = comment;
    spec.recordedAt = recordedAt;
    return spec;
}

// The three runs of the printed page: one with a date, one whose date is
// unknown, one with a comment of several lines.
std::vector<std::wstring> ThreeRuns() {
    return {WriteRun(Run(100, 4000, 6500, L"Serienstand, Tank halb voll", 1686839400), L"golf-serie"),
            WriteRun(Run(125, 3500, 6200, L"Nach Abstimmung", -1), L"golf-abgestimmt"),
            WriteRun(Run(85, 5000, 6800, kLongComment, 1686846600), L"golf-sport")};
}

std::vector<std::wstring> SevenRuns() {
    static const double torque[] = {100, 125, 85, 140, 95, 110, 70};
    static const double peak[] = {4000, 3500, 5000, 3000, 4500, 4200, 5200};
    static const double top[] = {6500, 6200, 6800, 5600, 6400, 6000, 7000};
    std::vector<std::wstring> files;
    for (int k = 0; k < 7; ++k)
        files.push_back(WriteRun(Run(torque[k], peak[k], top[k], std::wstring(kLongComment) + L" " + kLongComment,
                                     1686839400 + 600 * k),
                                 L"lauf-" + std::to_wstring(k + 1)));
    return files;
}

// ---- what a page must show -----------------------------------------------------

std::wstring Truncated(int32_t rpm) {
    return std::to_wstring(rpm / 10 * 10);
}

std::wstring Tenths(int32_t value) {
    std::wstring sign = value < 0 ? L"-" : L"";
    value = std::abs(value);
    return sign + std::to_wstring(value / 10) + L"." + std::to_wstring(value % 10);
}

std::wstring LocalDate(int32_t recordedAt) {
    if (recordedAt < 0) return L"( Meßzeitpunkt unbekannt! )";
    std::time_t when = recordedAt;
    wchar_t text[257] = {};
    std::wcsftime(text, 256, theSettings().timeFormat.c_str(), std::localtime(&when));
    return text;
}

// The expected lines of every measurement's block, and the engine speeds
// as they were before truncation, written as "key<TAB>value" lines.
void WriteExpectations(CDiag& diag, const std::wstring& name, const std::vector<std::pair<std::string, std::wstring>>& extra) {
    std::ofstream out(toUtf8(PagesFolder(kGroup) + name + L".expected"), std::ios::binary);
    for (int32_t i = 0; i < diag.d.count; ++i) {
        Measurement& m = *diag.d.measurements[i];
        EvaluationCursor& c = diag.d.cursor;
        c.rewind(m);
        c.openWindow(m.maxPowerIndex);
        const int32_t powerRpm = c.quantityValue(kQuantityEngineSpeed, c.index());
        std::wstring power = L"P(max): " + Tenths(c.quantityValue(kQuantityPowerKw, c.index())) + L" kW (" +
                             Tenths(c.quantityValue(kQuantityPowerPs, c.index())) + L" PS) bei " + Truncated(powerRpm) +
                             L" U/min";
        c.openWindow(m.maxTorqueIndex);
        const int32_t torqueRpm = c.quantityValue(kQuantityEngineSpeed, c.index());
        std::wstring torque = L"M(max): " + Tenths(c.quantityValue(kQuantityTorque, c.index())) + L" Nm bei " +
                              Truncated(torqueRpm) + L" U/min";
        std::wstring weather = LocalDate(m.recordedAt) + L"; Temp. " + std::to_wstring(m.temperature) + L"°C; Druck " +
                               std::to_wstring(m.pressure) + L" mBar; rel. Feuchte " + std::to_wstring(m.humidity) +
                               L" %";
        std::wstring file = m.fileName.substr(m.fileName.find_last_of(L'\\') + 1);
        out << "file\t" << toUtf8(file) << "\n"
            << "power\t" << toUtf8(power) << "\n"
            << "torque\t" << toUtf8(torque) << "\n"
            << "weather\t" << toUtf8(weather) << "\n"
            << "rpm\t" << powerRpm << "\n"
            << "rpm\t" << torqueRpm << "\n";
    }
    for (const auto& [key, value] : extra) out << key << "\t" << toUtf8(value) << "\n";
}

// ---- diagram windows ------------------------------------------------------------

struct DiagramWindow {
    explicit DiagramWindow(const std::vector<std::wstring>& files) {
        window = OpenDiagramWindow(*theFrame, files.empty() ? std::wstring() : files[0]);
        EXPECT_NE(window, nullptr);
        if (!window) return;
        diag = window->diag;
        MoveWindow(window->hwnd, 10, 10, 700, 820, TRUE);
        for (size_t k = 1; k < files.size(); ++k) diag->AddFile(files[k]);
        PumpMessages();
    }
    ~DiagramWindow() {
        if (window && IsWindow(window->hwnd)) SendMessageW(theFrame->client, WM_MDIDESTROY, WPARAM(window->hwnd), 0);
        PumpMessages();
    }
    void Command(int id) { SendMessageW(window->hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // One print command with the set-up dialog answered.
    void Print(DialogAnswerer& answerer) {
        answerer.diag = diag;
        Command(ID_FILE_PRINT);
        PumpMessages();
    }
    CDiagWnd* window = nullptr;
    CDiag* diag = nullptr;
};

class Environment : public ::testing::Environment {
public:
    void SetUp() override {
        Settings& s = theSettings();
        completeLoadedSettings(s, portableText);
        s.fontName = L"Arial";
        TestFrame* frame = new TestFrame;
        const wchar_t* cls = RegisterWindowClass(nullptr, LoadCursorW(nullptr, IDC_ARROW), nullptr, 0);
        theFrame = static_cast<TestFrame*>(CreateBoundWindow(frame, cls, L"Kaltrenox", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                             nullptr, nullptr, 0, 0, 1000, 900));
        ASSERT_NE(theFrame, nullptr);
        theFramework().mainWindow = theFrame;
        ASSERT_TRUE(ChooseDefaultPrinter()) << "the prefix has no default printer (scripts/file-printer.sh)";
        PumpMessages();
    }
    void TearDown() override {
        theFramework().mainWindow = nullptr;
        DestroyWindow(theFrame->hwnd);
        PumpMessages();
    }
};
const auto* kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

// Settings a test changes, restored afterwards.
struct BordersScope {
    BordersScope(int left, int top, int right, int bottom) {
        Settings& s = theSettings();
        saved[0] = s.bordersLeft, saved[1] = s.bordersTop, saved[2] = s.bordersRight, saved[3] = s.bordersBottom;
        s.bordersLeft = int16_t(left), s.bordersTop = int16_t(top), s.bordersRight = int16_t(right),
        s.bordersBottom = int16_t(bottom);
    }
    ~BordersScope() {
        Settings& s = theSettings();
        s.bordersLeft = saved[0], s.bordersTop = saved[1], s.bordersRight = saved[2], s.bordersBottom = saved[3];
    }
    int16_t saved[4];
};

}  // namespace

// ---- the print command -----------------------------------------------------------

TEST(DiagramPrint, OnePageWhileThePageIsShownThenTheViewAsItWas) {
    PrinterOutput output(kGroup, L"three-runs");
    ASSERT_TRUE(output.Redirected());
    DiagramWindow w(ThreeRuns());
    ASSERT_EQ(w.diag->d.count, 3);
    EXPECT_EQ(theSettings().bordersLeft, 22);
    theFrame->pageViewButton.clear();
    theFrame->enabling.clear();
    PumpMessages();
    const PlotLayout screenLayout = w.diag->layout;
    DialogAnswerer answerer(IDOK);
    w.Print(answerer);

    EXPECT_EQ(answerer.setupDialogs, 1);
    EXPECT_EQ(answerer.progressDialogs, 1);
    EXPECT_EQ(answerer.documentName, L"Diagramm-Fenster");
    EXPECT_EQ(answerer.pageViewWhilePrinting, 1) << "the window shows the page while it prints";
    // the modal set-up dialog disables the frame first, then the job
    EXPECT_EQ(theFrame->enabling, (std::vector<int>{0, 1, 0, 1})) << "the frame is disabled during the job";
    EXPECT_TRUE(IsWindowEnabled(theFrame->hwnd));
    EXPECT_FALSE(w.diag->d.pageView);
    EXPECT_EQ(theFrame->pageViewButton, (std::vector<int>{1, 0}));
    EXPECT_EQ(w.diag->layout.plot, screenLayout.plot) << "the printed page leaves the screen's layout alone";
    EXPECT_EQ(thePrintState().progressDialog, nullptr);

    std::string postScript = output.Contents();
    ASSERT_FALSE(postScript.empty()) << "nothing printed";
    EXPECT_NE(postScript.find("%%Title: Diagramm-Fenster"), std::string::npos);
    size_t pages = 0;
    for (size_t at = 0; (at = postScript.find("%%Page: ", at)) != std::string::npos; ++at) ++pages;
    EXPECT_EQ(pages, 1u);
    EXPECT_EQ(postScript.find("%Ellipse"), std::string::npos) << "no loss-point circles on paper";
    WriteExpectations(*w.diag, L"three-runs", {{"headline", theSettings().pageHeadline}});
}

TEST(DiagramPrint, CorrectedRunsStateTheirFactorAndOneOutsideTheBandIsWarnedAbout) {
    PrinterOutput output(kGroup, L"corrected");
    ASSERT_TRUE(output.Redirected());
    Settings& s = theSettings();
    const int16_t correction = s.graphCorrection, smoothing = s.graphSmoothing;
    s.graphCorrection = 1;  // DIN 70020, taken by the new window
    s.graphSmoothing = 1;
    // the second run was measured at 900 mbar: a factor of 1.126
    std::vector<std::wstring> files = {WriteRun(::Run(100, 4000, 6500, L"Normales Wetter", 1686839400), L"din-normal")};
    Measurement high = syntheticRun(::Run(110, 4200, 6400, L"Hochgebirge", 1686843000).shape);
    high.recordedAt = 1686843000;
    high.temperature = 20;
    high.pressure = 900;
    high.humidity = 30;
    const std::wstring highPath = TempFolder() + L"\\din-hochgebirge.kxm";
    ASSERT_TRUE(writeRun(high, highPath));
    files.push_back(highPath);
    DiagramWindow w(files);
    s.graphCorrection = correction;
    s.graphSmoothing = smoothing;
    ASSERT_EQ(w.diag->d.count, 2);
    EXPECT_EQ(w.diag->d.options.smoothing, 1);
    DialogAnswerer answerer(IDOK);
    w.Print(answerer);
    EXPECT_GT(output.FileSize(), 0);
    auto factor = [&](int i) {
        const double f = w.diag->d.measurements[i]->correctionFactor;
        wchar_t text[32];
        swprintf(text, 32, L"%.3f", f);
        return std::wstring(text);
    };
    EXPECT_EQ(factor(1), L"1.126");
    WriteExpectations(*w.diag, L"corrected",
                      {{"factor0", L"Korrekturfaktor " + factor(0)}, {"factor1", L"Korrekturfaktor " + factor(1)},
                       {"title", L"Leistung [PS] (Motor, DIN 70020, Glättung mittel) (!)"}});
}

// ---- the exported page -------------------------------------------------------------

// build/windows/printer/exports/, where the exported pages wait for
// diagram_printed_page_tests (not beside the printed pages, whose folder the
// renderer keeps free of strays).
static std::wstring ExportsFolder() {
    std::wstring folder = L"..\\printer";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\exports";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// kxm.exe beside the test program, run to its end; its exit status, or -1.
static int RunKxm(const std::wstring& arguments) {
    std::wstring command = L"kxm.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"kxm.exe", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(code);
}

TEST(DiagramExport, ThePagePrintedAndExportedAsPngAndEmfAndByKxmReport) {
    // the three runs as a workshop keeps them
    std::vector<std::wstring> files;
    CreateDirectoryW(L"C:\\Messungen", nullptr);
    for (const std::wstring& run : ThreeRuns()) {
        files.push_back(L"C:\\Messungen\\Kunde-000" + std::to_wstring(files.size() + 1) + L".kxm");
        ASSERT_TRUE(CopyFileW(run.c_str(), files.back().c_str(), FALSE));
    }
    PrinterOutput output(kGroup, L"exported");
    ASSERT_TRUE(output.Redirected());
    DiagramWindow w(files);
    DialogAnswerer answerer(IDOK);
    w.Print(answerer);
    EXPECT_GT(output.FileSize(), 0);
    WriteExpectations(*w.diag, L"exported", {});

    const std::wstring png = ExportsFolder() + L"\\three-runs.png", emf = ExportsFolder() + L"\\three-runs.emf";
    DeleteFileW(png.c_str());
    DeleteFileW(emf.c_str());
    ASSERT_TRUE(WriteExport(*w.diag, ExportKind::PagePng, png));
    ASSERT_TRUE(WriteExport(*w.diag, ExportKind::PageEmf, emf));
    EXPECT_EQ(w.diag->d.pageView, 0) << "the window's view is not the export's business";
    // drawn as on paper: no loss-point circles (the screen's marks), the pictograms as lines
    std::ifstream in(toUtf8(emf), std::ios::binary);
    const std::string drawing((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int ellipses = 0, records = 0;
    for (size_t at = 0; at + 8 <= drawing.size();) {
        uint32_t type = 0, size = 0;
        std::memcpy(&type, &drawing[at], 4);
        std::memcpy(&size, &drawing[at + 4], 4);
        if (size < 8) break;
        ellipses += type == EMR_ELLIPSE;
        ++records;
        at += size;
    }
    EXPECT_GT(records, 100);
    EXPECT_EQ(ellipses, 0) << "no loss-point circles on the exported page";

    // the same three files through kxm.exe report
    std::wstring arguments = L"report";
    for (const std::wstring& f : files) arguments += L" \"" + f + L"\"";
    const std::wstring byKxm = ExportsFolder() + L"\\three-runs-kxm.png";
    DeleteFileW(byKxm.c_str());
    EXPECT_EQ(RunKxm(arguments + L" -o \"" + byKxm + L"\""), 0);
    EXPECT_EQ(RunKxm(arguments + L" -o \"" + ExportsFolder() + L"\\three-runs-kxm.emf\""), 0);
    EXPECT_EQ(RunKxm(L"report \"" + files[0] + L"\""), 2) << "no output named";
    EXPECT_EQ(RunKxm(L"report \"" + files[0] + L"\" -o \"" + ExportsFolder() + L"\\x.csv\""), 2) << "no page type";
}

TEST(DiagramPrint, CancelledSetUpPrintsNothingAndChangesNothing) {
    PrinterOutput output(kGroup, L"cancelled");
    DiagramWindow w(ThreeRuns());
    HGLOBAL printer = PrinterDevNames();
    theFrame->pageViewButton.clear();
    DialogAnswerer answerer(IDCANCEL);
    w.Print(answerer);
    EXPECT_EQ(answerer.setupDialogs, 1);
    EXPECT_EQ(answerer.progressDialogs, 0);
    EXPECT_EQ(output.FileSize(), -1) << "a page was printed";
    EXPECT_FALSE(w.diag->d.pageView);
    EXPECT_TRUE(theFrame->pageViewButton.empty());
    EXPECT_EQ(PrinterDevNames(), printer) << "the printer choice stays";
}

static int WINAPI RefuseDocument(HDC, const DOCINFOW*) { return SP_ERROR; }

TEST(DiagramPrint, APrinterThatRefusesTheJobIsNamedAndTheWindowsComeBack) {
    PrinterOutput output(kGroup, L"refused");
    DiagramWindow w(ThreeRuns());
    theFrame->pageViewButton.clear();
    thePrintState().startDocument = &RefuseDocument;
    DialogAnswerer answerer(IDOK);
    w.Print(answerer);
    thePrintState().startDocument = &StartDocW;

    EXPECT_EQ(answerer.setupDialogs, 1);
    ASSERT_FALSE(ChosenPrinterName().empty());
    EXPECT_EQ(answerer.messages,
              std::vector<std::wstring>{L"Fehler: Der Drucker " + ChosenPrinterName() + L" kann nicht drucken."});
    EXPECT_EQ(output.FileSize(), -1) << "a refused job printed";
    EXPECT_TRUE(IsWindowEnabled(theFrame->hwnd));
    EXPECT_FALSE(w.diag->d.pageView);
    EXPECT_EQ(theFrame->pageViewButton, (std::vector<int>{1, 0}));
    EXPECT_EQ(thePrintState().progressDialog, nullptr);

    // the same window prints again once the printer takes the job
    DialogAnswerer again(IDOK);
    w.Print(again);
    EXPECT_TRUE(again.messages.empty());
    EXPECT_GT(output.FileSize(), 0);
}

TEST(DiagramPrint, WithoutBordersThePageUsesTheWholePrintableArea) {
    BordersScope borders(0, 0, 0, 0);
    PrinterOutput output(kGroup, L"no-borders");
    DiagramWindow w(ThreeRuns());
    DialogAnswerer answerer(IDOK);
    w.Print(answerer);
    EXPECT_GT(output.FileSize(), 0);
    WriteExpectations(*w.diag, L"no-borders", {});
}

TEST(DiagramPrint, SevenRunsWithLongCommentsLeaveTheDiagramFiftyMillimetres) {
    PrinterOutput output(kGroup, L"seven-runs");
    DiagramWindow w(SevenRuns());
    ASSERT_EQ(w.diag->d.count, 7);
    // page view stays on after printing, so the plot keeps the page's units
    w.Command(ID_VIEW_PAGE);
    ASSERT_TRUE(w.diag->d.pageView);
    DialogAnswerer answerer(IDOK);
    w.Print(answerer);
    EXPECT_GT(output.FileSize(), 0);
    EXPECT_TRUE(w.diag->d.pageView);
    // the plot lies 9 mm below and 12 mm above the diagram's 50 mm
    const PageMetrics page = ReadPageMetrics(nullptr);
    const Surface printer{page.dpiX, page.dpiY, true};
    const int32_t plotHeight = w.diag->layout.plot.bottom - w.diag->layout.plot.top;
    EXPECT_GE(plotHeight, printer.MmY(500 - 90 - 120) - 2) << "resolution " << printer.dpiY;
    WriteExpectations(*w.diag, L"seven-runs", {});
}

TEST(DiagramPrint, LambdaPanelPrintsItsPictogramsAsLines) {
    PrinterOutput output(kGroup, L"lambda");
    DiagramWindow w(ThreeRuns());
    w.Command(ID_LAMBDA_CURVE);
    ASSERT_TRUE(w.diag->d.lambdaShown);
    DialogAnswerer answerer(IDOK);
    w.Print(answerer);
    std::string postScript = output.Contents();
    ASSERT_FALSE(postScript.empty());
    // on screen the panel shows two pictures; on paper they are line drawings
    EXPECT_EQ(postScript.find("/ImageType"), std::string::npos) << "a bitmap went to the printer";
    WriteExpectations(*w.diag, L"lambda", {});
}

// ---- page view ---------------------------------------------------------------------

TEST(DiagramPageView, AsksForAPrinterWhenNoneIsChosenAndShowsItsPaper) {
    FrameworkState& fw = theFramework();
    HGLOBAL names = fw.printerDevNames, mode = fw.printerDevMode;
    fw.printerDevNames = nullptr;
    fw.printerDevMode = nullptr;
    DiagramWindow w(ThreeRuns());
    {
        DialogAnswerer answerer(IDOK);
        w.Command(ID_VIEW_PAGE);
        EXPECT_EQ(answerer.setupDialogs, 1);
    }
    EXPECT_TRUE(w.diag->d.pageView);
    ASSERT_TRUE(PrinterChosen()) << "the set-up dialog's printer becomes the program's";
    GlobalFree(names);
    GlobalFree(mode);

    SIZE paper{};
    ASSERT_TRUE(PrintablePageSize(paper));
    EXPECT_NEAR(paper.cx, 210, 2);
    EXPECT_NEAR(paper.cy, 297, 2);
    PumpMessages();
    RECT client{};
    GetClientRect(w.window->hwnd, &client);
    const RECT page = ChildRect(w.diag->hwnd);
    EXPECT_NEAR(double(page.right - page.left) / (page.bottom - page.top), double(paper.cx) / paper.cy, 0.005);
    EXPECT_GE(page.top, 5);
    EXPECT_LE(page.bottom, client.bottom - 5);

    // the preview as the window shows it, for the comparison with the page
    RECT area{};
    GetClientRect(w.diag->hwnd, &area);
    CMemDC preview(w.diag->hwnd, nullptr, area.right, area.bottom);
    FillRect(preview.hdc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    w.diag->Paint(&preview);
    std::unique_ptr<BitmapHolder> picture = preview.DetachBitmap();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(SavePicture(picture->bitmap, PagesFolder(kGroup) + L"three-runs.preview.bmp"));
    EXPECT_TRUE(SaveScreenshot(w.window->hwnd, L"page-view.png"));
}

TEST(DiagramPageView, CancelledPrinterChoiceLeavesPageViewOffAndTheButtonUp) {
    FrameworkState& fw = theFramework();
    HGLOBAL names = fw.printerDevNames, mode = fw.printerDevMode;
    fw.printerDevNames = nullptr;
    fw.printerDevMode = nullptr;
    DiagramWindow w(ThreeRuns());
    theFrame->pageViewButton.clear();
    {
        DialogAnswerer answerer(IDCANCEL);
        w.Command(ID_VIEW_PAGE);
        EXPECT_EQ(answerer.setupDialogs, 1);
    }
    EXPECT_FALSE(w.diag->d.pageView);
    EXPECT_EQ(theFrame->pageViewButton, std::vector<int>{0});
    fw.printerDevNames = names;
    fw.printerDevMode = mode;
}

// ---- one block line after another ------------------------------------------------

TEST(DrawTextUp, LinesStackUpwardsAndALineThatDoesNotFitIsLeftOut) {
    CMemDC memory(nullptr, nullptr, 400, 300);
    HDC dc = memory.hdc;
    RECT all{0, 0, 400, 300};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HFONT font = CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const LONG line = metrics.tmHeight;

    RECT rect{10, 100, 390, 100 + 3 * line + line / 2};  // room for three lines
    DrawTextUp(L"unten", dc, rect);
    EXPECT_EQ(rect.bottom, 100 + 2 * line + line / 2);
    DrawTextUp(L"erste Zeile\r\nzweite Zeile", dc, rect);
    EXPECT_EQ(rect.bottom, 100 + line / 2) << "two lines still fit";
    RECT before = rect;
    DrawTextUp(L"zu hoch", dc, rect);  // half a line is left
    EXPECT_TRUE(EqualRect(&rect, &before)) << "a line that does not fit leaves the area alone";
    // a later, smaller line still fits
    HFONT small = CreateFontW(-(line / 2 - 4), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    SelectObject(dc, small);
    DrawTextUp(L"klein", dc, rect);
    EXPECT_LT(rect.bottom, before.bottom);
    EXPECT_GT(rect.bottom, rect.top);

    // a long text wraps at the rectangle's width into whole lines
    SelectObject(dc, font);
    RECT narrow{10, 0, 150, 300};
    DrawTextUp(L"ein Kommentar, der in dieser Breite auf mehrere Zeilen umbricht", dc, narrow);
    const LONG used = 300 - narrow.bottom;
    EXPECT_GE(used, 3 * line);
    EXPECT_EQ(used % line, 0) << used << " pixels for lines of " << line;
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteObject(small);

    // nothing drawn above the first area's top (right of the narrow one)
    int inkAbove = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 150; x < 400; ++x) inkAbove += GetPixel(dc, x, y) != RGB(255, 255, 255);
    EXPECT_EQ(inkAbove, 0);
}
