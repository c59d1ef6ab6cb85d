#include "DiagPage.h"

#include "DC.h"
#include "Diag.h"

PrintFlags& thePrintFlags() {
    static PrintFlags flags;
    return flags;
}

void PageLayout(CDiag& diag, CDC& dc, RECT& rect) {
    DeviceResolution& resolution = theResolution();
    resolution.x = GetDeviceCaps(dc.hdc, LOGPIXELSX);
    resolution.y = GetDeviceCaps(dc.hdc, LOGPIXELSY);
    if (!diag.d.pageView) return;
    // the page's outline; the page mapping and the measurements' text blocks
    // come with the printing
    if (dc.GetKind() != kPrinterDC) {
        HGDIOBJ previous = SelectObject(dc.hdc, GetStockObject(HOLLOW_BRUSH));
        Rectangle(dc.hdc, rect.left, rect.top, rect.right, rect.bottom);
        SelectObject(dc.hdc, previous);
    }
}

bool PrintablePageSize(SIZE& millimetres) {
    (void)millimetres;
    return false;
}

void PrintDiagram(CDiag& diag) { (void)diag; }
