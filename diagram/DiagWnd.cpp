#include "DiagWnd.h"

#include <shellapi.h>
#include <cderr.h>

#include <string>

#include "CommonDialogs.h"
#include "DiagExport.h"
#include "DiagPage.h"
#include "FrameworkState.h"
#include "PrintJob.h"
#include "Settings.h"
#include "TextBuffers.h"
#include "resource.h"

namespace {

constexpr int32_t kA4Width = 210;   // mm, when no printer can be asked
constexpr int32_t kA4Height = 297;
constexpr int kPageViewGap = 5;     // pixels of desktop colour around the page

// The print command's printer set-up: no page range, no selection, copies
// and collation in the device mode, no "print to file".
constexpr DWORD kPrintSetupFlags =
    PD_PRINTSETUP | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;  // 0x14004C

const wchar_t* DiagramWindowClass() {
    // the desktop colour surrounds the page in page view
    HICON icon = LoadIconW(FrameworkInstance(), L"XYICON");
    return RegisterWindowClass(reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1), nullptr, icon, CS_VREDRAW | CS_HREDRAW);
}

const wchar_t* DiagramClass() {
    return RegisterWindowClass(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, nullptr, 0);
}

}  // namespace

CDiagWnd* OpenDiagramWindow(CMDIFrame& frame, const std::wstring& path) {
    const DWORD style = WS_VISIBLE | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW | DWORD(theSettings().supervisorCmdShowChild);
    CDiagWnd* window = static_cast<CDiagWnd*>(
        CreateMDIChild(new CDiagWnd, frame.client, DiagramWindowClass(), LoadText(IDS_DIAGRAM_TITLE), style));
    if (window && window->diag && !path.empty()) window->diag->AddFile(path);
    return window;
}

LRESULT CDiagWnd::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        break;
    case WM_DESTROY:
        DragAcceptFiles(hwnd, FALSE);
        SendToFrame(kFrameDiagramClosed, reinterpret_cast<WPARAM>(hwnd), 0);
        break;
    case WM_SIZE:
        OnSize(wParam);
        break;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
        break;
    }
    case WM_MDIACTIVATE:
    case WM_DROPFILES:
        if (diag) diag->WndProc(message, wParam, lParam);
        break;
    case kChartLayoutChanged:
        if (diag) PlaceDiagram(*diag);
        return 0;
    }
    return CMDIChild::WndProc(message, wParam, lParam);
}

void CDiagWnd::OnCreate() {
    // an empty diagram of road speed over time, until the first view below
    CDiag* made = new CDiag(evaluationOptionsFromSettings(theSettings()));
    SendToFrame(kFrameAxisLists, 0, MAKELPARAM(made->d.xQuantity, made->d.yQuantity));
    diag = static_cast<CDiag*>(CreateBoundWindow(made, DiagramClass(), L"", WS_CHILD | WS_VISIBLE, nullptr, hwnd,
                                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT));
    // every new diagram starts as power over engine speed
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(ID_VIEW_POWER_RPM, 0), 0);
    DragAcceptFiles(hwnd, TRUE);
}

void CDiagWnd::OnSize(WPARAM sizeType) {
    Settings& s = theSettings();
    if (sizeType == SIZE_MINIMIZED)
        s.supervisorCmdShowChild = int32_t(WS_MINIMIZE);
    else if (sizeType == SIZE_MAXIMIZED)
        s.supervisorCmdShowChild = int32_t(WS_MAXIMIZE);
    else
        s.supervisorCmdShowChild = 0;
    if (diag) PlaceDiagram(*diag);
}

int CDiagWnd::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    if (diag && LOWORD(wParam) == ID_FILE_PRINT) {
        PrintDiagram(*diag);
        return 1;
    }
    if (diag && LOWORD(wParam) == ID_FILE_EXPORT) {
        ExportDiagram(*diag);
        return 1;
    }
    if (diag && diag->OnCommand(message, wParam, lParam)) return 1;
    return CWnd::OnCommand(message, wParam, lParam);
}

void PlaceDiagram(CDiag& diag) {
    HWND parent = GetParent(diag.hwnd);
    RECT client{};
    GetClientRect(parent, &client);
    RECT place{client.left - 1, client.top - 1, client.right + 1, client.bottom + 1};
    if (diag.d.pageView) {
        SIZE page{kA4Width, kA4Height};
        if (!PrintablePageSize(page)) page = {kA4Width, kA4Height};
        IntRect area{client.left + kPageViewGap, client.top + kPageViewGap, client.right - kPageViewGap,
                     client.bottom - kPageViewGap};
        if (!diag.d.pagePlacement.isEmpty()) area = diag.d.pagePlacement;
        const IntRect fitted = FitPage(area, page.cx, page.cy);
        place = {fitted.left, fitted.top, fitted.right, fitted.bottom};
    }
    MoveWindow(diag.hwnd, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    InvalidateRect(diag.hwnd, nullptr, TRUE);
}

namespace {

// Said once the window is back as after a print: no printer set up at all, or
// the chosen one gave no context or refused the job.
void ReportPrinterFailure(HWND window) {
    std::wstring text;
    if (!PrinterChosen()) {
        text = LoadText(IDS_NO_PRINTER);
    } else {
        text = LoadText(IDS_PRINTER_REFUSED);
        const size_t at = text.find(L"%s");
        if (at != std::wstring::npos) text.replace(at, 2, ChosenPrinterName());
    }
    CWnd* frame = theFramework().mainWindow;
    MessageBoxW(frame ? frame->hwnd : window, text.c_str(), LoadText(IDS_ERROR), MB_OK | MB_ICONERROR);
}

}  // namespace

void PrintDiagram(CDiag& diag) {
    HWND window = GetParent(diag.hwnd);  // the diagram window
    if (!RunPrintDlg(kPrintSetupFlags, window, new CPrintDlg)) {
        // a cancelled choice says nothing; a machine without any printer does
        if (CommDlgExtendedError() == PDERR_NODEFAULTPRN) ReportPrinterFailure(window);
        return;
    }
    const bool rememberedPageView = diag.d.pageView;
    diag.SetPageView(true);  // the window shows the page while it prints
    CPrintDC printer(nullptr, nullptr);
    bool printed = false;
    if (CreatePrinterDC(window, &printer, kPrintPageFlags)) {
        if (StartPrintJob(&printer, LoadText(IDS_DIAGRAM_TITLE)) && StartPage(printer.hdc) > 0) {
            diag.Draw(printer, true);
            EndPage(printer.hdc);
            printed = true;
        }
        EndPrintJob(&printer);
    }
    diag.SetPageView(rememberedPageView);
    if (!printed) ReportPrinterFailure(window);
}
