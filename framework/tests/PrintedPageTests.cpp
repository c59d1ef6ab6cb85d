// What print_job_tests put on paper, read from the rendering that
// scripts/render-pages.sh made of its PostScript file: an A4 sheet with the
// text and the two rectangles where the printer's units put them.
#include <gtest/gtest.h>
#include <windows.h>

#include "CommonDialogs.h"
#include "DC.h"
#include "PrintJob.h"
#include "PrinterSupport.h"

namespace {

// The printable area's offset on the sheet, in millimetres.
struct PrinterMetrics {
    double offsetX = 0, offsetY = 0, areaWidth = 0, areaHeight = 0;
};

bool ReadPrinterMetrics(PrinterMetrics* metrics) {
    if (!ChooseDefaultPrinter()) return false;
    CPrintDC dc(nullptr, nullptr);
    if (!CreatePrinterDC(nullptr, &dc, kPrintMetricsFlags)) return false;
    double x = GetDeviceCaps(dc.hdc, LOGPIXELSX), y = GetDeviceCaps(dc.hdc, LOGPIXELSY);
    metrics->offsetX = 25.4 * GetDeviceCaps(dc.hdc, PHYSICALOFFSETX) / x;
    metrics->offsetY = 25.4 * GetDeviceCaps(dc.hdc, PHYSICALOFFSETY) / y;
    metrics->areaWidth = 25.4 * GetDeviceCaps(dc.hdc, HORZRES) / x;
    metrics->areaHeight = 25.4 * GetDeviceCaps(dc.hdc, VERTRES) / y;
    return true;
}

// The bounds of the pixels near `rgb` inside `area`, in millimetres.
struct MmRect {
    double left, top, right, bottom;
};

MmRect ColourBounds(const RenderedPage& page, uint32_t rgb, const RECT& area) {
    RECT found{page.width, page.height, 0, 0};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            RECT one{x, y, x + 1, y + 1};
            if (page.CountColour(rgb, one, 40) == 0) continue;
            found.left = std::min<LONG>(found.left, x);
            found.top = std::min<LONG>(found.top, y);
            found.right = std::max<LONG>(found.right, x + 1);
            found.bottom = std::max<LONG>(found.bottom, y + 1);
        }
    return {RenderedPage::PixelsToMm(found.left), RenderedPage::PixelsToMm(found.top),
            RenderedPage::PixelsToMm(found.right), RenderedPage::PixelsToMm(found.bottom)};
}

}  // namespace

TEST(FrameworkPrintedPage, IsAnA4SheetWithTheTextAndTheRectanglesInPlace) {
    PrinterMetrics metrics;
    ASSERT_TRUE(ReadPrinterMetrics(&metrics));
    RenderedPage page;
    ASSERT_TRUE(page.Load(L"framework", L"page")) << "no rendering of the page (scripts/render-pages.sh)";
    EXPECT_NEAR(RenderedPage::PixelsToMm(page.width), 210, 1);
    EXPECT_NEAR(RenderedPage::PixelsToMm(page.height), 297, 1);

    EXPECT_NE(page.text.find(L"Kaltrenox Prüfseite: Meßzeitpunkt ÄÖÜ"), std::wstring::npos) << "text: " << page.text.c_str();

    RECT all{0, 0, page.width, page.height};
    MmRect black = ColourBounds(page, 0x000000, RECT{0, static_cast<LONG>(RenderedPage::MmToPixels(40)), page.width / 2,
                                                     static_cast<LONG>(RenderedPage::MmToPixels(90))});
    const double tolerance = 0.5;  // mm: rounding to printer and rendering pixels
    EXPECT_NEAR(black.left, metrics.offsetX + 30, tolerance);
    EXPECT_NEAR(black.top, metrics.offsetY + 50, tolerance);
    EXPECT_NEAR(black.right, metrics.offsetX + 80, tolerance);
    EXPECT_NEAR(black.bottom, metrics.offsetY + 70, tolerance);

    MmRect red = ColourBounds(page, 0xFF0000, all);
    EXPECT_NEAR(red.left, metrics.offsetX + metrics.areaWidth - 50, tolerance);
    EXPECT_NEAR(red.top, metrics.offsetY + metrics.areaHeight - 30, tolerance);
    EXPECT_NEAR(red.right, metrics.offsetX + metrics.areaWidth - 10, tolerance);
    EXPECT_NEAR(red.bottom, metrics.offsetY + metrics.areaHeight - 10, tolerance);

    // the text's ink starts 20 mm from the printable area's left edge
    RECT textBand{0, static_cast<LONG>(RenderedPage::MmToPixels(metrics.offsetY + 19)), page.width,
                  static_cast<LONG>(RenderedPage::MmToPixels(metrics.offsetY + 27))};
    MmRect text = ColourBounds(page, 0x000000, textBand);
    EXPECT_NEAR(text.left, metrics.offsetX + 20, 1.0);
}

TEST(FrameworkPrintedPage, CancelledJobLeftNoPage) {
    RenderedPage page;
    EXPECT_FALSE(page.Load(L"framework", L"cancelled"));
}
