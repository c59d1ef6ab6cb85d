#include "DiagPage.h"

#include "AxisLayout.h"
#include "CommonDialogs.h"
#include "DC.h"
#include "Diag.h"
#include "Drawing.h"
#include "PageText.h"
#include "PrintJob.h"
#include "Settings.h"
#include "TextBuffers.h"
#include "resource.h"

namespace {

// The print command's printer set-up: no page range, no selection, copies
// and collation in the device mode, no "print to file".
constexpr DWORD kPrintSetupFlags =
    PD_PRINTSETUP | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;  // 0x14004C

// Should the printer not answer, the page is laid out as an A4 sheet at
// 300 dpi, so that the preview keeps its proportions.
constexpr int kFallbackWidth = 2480;
constexpr int kFallbackHeight = 3508;
constexpr int kFallbackDpi = 300;

constexpr int kBlockIndent = 100;  // tenths of a millimetre: the lines under the file name
constexpr int kBlockGap = 20;      // between two measurements' blocks

// The chosen printer's printable area in pixels and its resolution.
struct PageMetrics {
    int width = kFallbackWidth, height = kFallbackHeight;
    int dpiX = kFallbackDpi, dpiY = kFallbackDpi;
};

PageMetrics ReadPageMetrics(HWND owner) {
    PageMetrics page;
    CPrintDC printer(nullptr, nullptr);
    if (!CreatePrinterDC(owner, &printer, kPrintMetricsFlags)) return page;
    const PageMetrics asked{GetDeviceCaps(printer.hdc, HORZRES), GetDeviceCaps(printer.hdc, VERTRES),
                            GetDeviceCaps(printer.hdc, LOGPIXELSX), GetDeviceCaps(printer.hdc, LOGPIXELSY)};
    if (asked.width > 0 && asked.height > 0 && asked.dpiX > 0 && asked.dpiY > 0) page = asked;
    return page;
}

}  // namespace

void DrawTextUp(const std::wstring& text, HDC dc, RECT& rect) {
    const UINT format = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
    RECT measured{rect.left, 0, rect.right, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    const LONG height = measured.bottom - measured.top;
    if (rect.top >= rect.bottom - height) return;  // left out; the area stays as it was
    RECT band{rect.left, rect.bottom - height, rect.right, rect.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &band, format);
    rect.bottom -= height;
}

void PageLayout(CDiag& diag, CDC& dc, RECT& rect) {
    HDC h = dc.hdc;
    DeviceResolution& resolution = theResolution();
    if (!diag.d.pageView) {
        resolution.x = GetDeviceCaps(h, LOGPIXELSX);
        resolution.y = GetDeviceCaps(h, LOGPIXELSY);
        return;
    }
    // the sheet's outline in the preview
    if (dc.GetKind() != kPrinterDC) {
        HGDIOBJ previous = SelectObject(h, GetStockObject(HOLLOW_BRUSH));
        Rectangle(h, rect.left, rect.top, rect.right, rect.bottom);
        SelectObject(h, previous);
    }

    // From here on the drawing is in the printer's pixels and millimetres, so
    // the preview is the printed page reduced to the window.
    const PageMetrics page = ReadPageMetrics(diag.hwnd);
    resolution.x = page.dpiX;
    resolution.y = page.dpiY;
    SetMapMode(h, MM_ANISOTROPIC);
    SetViewportOrgEx(h, rect.left, rect.top, nullptr);
    SetViewportExtEx(h, rect.right - rect.left, rect.bottom - rect.top, nullptr);
    SetWindowOrgEx(h, 0, 0, nullptr);
    SetWindowExtEx(h, page.width, page.height, nullptr);
    DPtoLP(h, reinterpret_cast<POINT*>(&rect), 2);

    const Settings& s = theSettings();
    rect.left += MmX(s.bordersLeft * 10);
    rect.top += MmY(s.bordersTop * 10);
    rect.right -= MmX(s.bordersRight * 10);
    rect.bottom -= MmY(s.bordersBottom * 10);

    SetBkMode(h, TRANSPARENT);
    FontSelection pageFont = CreateBoldFont(h, MmY(s.fontHeight), s.fontName.c_str());
    for (int32_t i = diag.d.count - 1; i >= 0; --i) {
        Measurement& m = *diag.d.measurements[i];
        const PageBlock block = MakePageBlock(diag.d.cursor, m, s.timeFormat);
        SetTextColor(h, kCurveColours[i]);
        rect.left += MmX(kBlockIndent);
        {
            FontSelection smallFont = CreateBoldFont(h, MmY(s.fontHeight * 5 / 6), s.fontName.c_str());
            DrawTextUp(block.comment, h, rect);
            if (!block.correctionWarning.empty()) DrawTextUp(block.correctionWarning, h, rect);
            DrawTextUp(block.dateWeather, h, rect);
            DrawTextUp(block.maxTorque, h, rect);
            DrawTextUp(block.maxPower, h, rect);
        }
        rect.left -= MmX(kBlockIndent);
        DrawTextUp(block.fileName, h, rect);
        rect.bottom -= MmY(kBlockGap);
    }
    SetTextColor(h, RGB(0, 0, 0));
}

bool PrintablePageSize(SIZE& millimetres) {
    CPrintDC printer(nullptr, nullptr);
    if (!CreatePrinterDC(nullptr, &printer, kPrintMetricsFlags)) return false;
    millimetres.cx = GetDeviceCaps(printer.hdc, HORZSIZE);
    millimetres.cy = GetDeviceCaps(printer.hdc, VERTSIZE);
    return millimetres.cx > 0 && millimetres.cy > 0;
}

void PrintDiagram(CDiag& diag) {
    HWND window = GetParent(diag.hwnd);  // the diagram window
    if (!RunPrintDlg(kPrintSetupFlags, window, new CPrintDlg)) return;
    const int rememberedPageView = diag.d.pageView;
    diag.SetPageView(1);  // the window shows the page while it prints
    CPrintDC printer(nullptr, nullptr);
    if (CreatePrinterDC(window, &printer, kPrintPageFlags)) {
        if (StartPrintJob(&printer, LoadText(IDS_DIAGRAM_TITLE)) && StartPage(printer.hdc) > 0) {
            thePrintState().printing = 1;
            diag.Paint(&printer);
            thePrintState().printing = 0;
            EndPage(printer.hdc);
        }
        EndPrintJob(&printer);
    }
    diag.SetPageView(rememberedPageView);
}
