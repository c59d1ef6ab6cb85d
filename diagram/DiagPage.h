#pragma once
// The printed page of a diagram: the printer's page metrics, the page layout
// that is the first step of a drawing in page view, and the text blocks of
// the measurements stacked from the page's bottom up. The page layout draws
// only what it is given.
#include <windows.h>

#include <string>
#include <vector>

#include "DiagramGeometry.h"
#include "PageText.h"

struct Settings;

// The chosen printer's printable area in pixels and its resolution; should
// the printer not answer, an A4 sheet at 300 dpi, so that the preview keeps
// its proportions.
struct PageMetrics {
    int width = 2480, height = 3508;
    int dpiX = 300, dpiY = 300;
};
PageMetrics ReadPageMetrics(HWND owner);

// The surface of a device context at its own resolution.
Surface SurfaceOf(HDC dc, bool paper);

// The page of a drawing in page view: on the screen the sheet's outline
// around `rect` (the drawing area), then the page mapping that makes the
// printer's page fill `rect`, the page borders of `s`, and the measurements'
// blocks (in the colour of their position) from the bottom up. `rect` goes
// out as the rectangle left for the diagram, in page units; the answer is the
// surface the rest of the drawing goes to (the printer's resolution).
Surface LayOutPage(HDC dc, bool paper, const PageMetrics& page, const Settings& s,
                   const std::vector<PageBlock>& blocks, RECT& rect);

// Physical size of the chosen printer's printable page in millimetres; false
// when there is no printer to ask.
bool PrintablePageSize(SIZE& millimetres);

// Draws `text` word-wrapped to the rectangle's width at the rectangle's
// bottom and moves the bottom up by the text's height, when the text fits
// above the top; otherwise draws nothing and leaves the rectangle alone.
void DrawTextUp(const std::wstring& text, HDC dc, RECT& rect);
