#include "DiagPage.h"

#include "AxisLayout.h"
#include "Drawing.h"
#include "PrintJob.h"
#include "Settings.h"

namespace {

constexpr int kBlockIndent = 100;  // tenths of a millimetre: the lines under the file name
constexpr int kBlockGap = 20;      // between two measurements' blocks

}  // namespace

PageMetrics ReadPageMetrics(HWND owner) {
    PageMetrics page;
    CPrintDC printer(nullptr, nullptr);
    if (!CreatePrinterDC(owner, &printer, kPrintMetricsFlags)) return page;
    const PageMetrics asked{GetDeviceCaps(printer.hdc, HORZRES), GetDeviceCaps(printer.hdc, VERTRES),
                            GetDeviceCaps(printer.hdc, LOGPIXELSX), GetDeviceCaps(printer.hdc, LOGPIXELSY)};
    if (asked.width > 0 && asked.height > 0 && asked.dpiX > 0 && asked.dpiY > 0) page = asked;
    return page;
}

Surface SurfaceOf(HDC dc, bool paper) {
    return {GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY), paper};
}

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

Surface LayOutPage(HDC h, bool paper, const PageMetrics& page, const Settings& s,
                   const std::vector<PageBlock>& blocks, RECT& rect) {
    // the sheet's outline in the preview
    if (!paper) {
        HGDIOBJ previous = SelectObject(h, GetStockObject(HOLLOW_BRUSH));
        Rectangle(h, rect.left, rect.top, rect.right, rect.bottom);
        SelectObject(h, previous);
    }

    // From here on the drawing is in the printer's pixels and millimetres, so
    // the preview is the printed page reduced to the window.
    const Surface surface{page.dpiX, page.dpiY, paper};
    SetMapMode(h, MM_ANISOTROPIC);
    SetViewportOrgEx(h, rect.left, rect.top, nullptr);
    SetViewportExtEx(h, rect.right - rect.left, rect.bottom - rect.top, nullptr);
    SetWindowOrgEx(h, 0, 0, nullptr);
    SetWindowExtEx(h, page.width, page.height, nullptr);
    DPtoLP(h, reinterpret_cast<POINT*>(&rect), 2);

    rect.left += surface.MmX(s.bordersLeft * 10);
    rect.top += surface.MmY(s.bordersTop * 10);
    rect.right -= surface.MmX(s.bordersRight * 10);
    rect.bottom -= surface.MmY(s.bordersBottom * 10);

    SetBkMode(h, TRANSPARENT);
    FontSelection pageFont = CreateBoldFont(h, surface.MmY(s.fontHeight), s.fontName.c_str());
    for (int i = int(blocks.size()) - 1; i >= 0; --i) {
        const PageBlock& block = blocks[size_t(i)];
        SetTextColor(h, kCurveColours[i]);
        rect.left += surface.MmX(kBlockIndent);
        {
            FontSelection smallFont = CreateBoldFont(h, surface.MmY(s.fontHeight * 5 / 6), s.fontName.c_str());
            DrawTextUp(block.comment, h, rect);
            if (!block.correctionWarning.empty()) DrawTextUp(block.correctionWarning, h, rect);
            DrawTextUp(block.dateWeather, h, rect);
            DrawTextUp(block.maxTorque, h, rect);
            DrawTextUp(block.maxPower, h, rect);
        }
        rect.left -= surface.MmX(kBlockIndent);
        DrawTextUp(block.fileName, h, rect);
        rect.bottom -= surface.MmY(kBlockGap);
    }
    SetTextColor(h, RGB(0, 0, 0));
    return surface;
}

bool PrintablePageSize(SIZE& millimetres) {
    CPrintDC printer(nullptr, nullptr);
    if (!CreatePrinterDC(nullptr, &printer, kPrintMetricsFlags)) return false;
    millimetres.cx = GetDeviceCaps(printer.hdc, HORZSIZE);
    millimetres.cy = GetDeviceCaps(printer.hdc, VERTSIZE);
    return millimetres.cx > 0 && millimetres.cy > 0;
}
