#pragma once
// Page view and printing of a diagram: the page layout that is the first step
// of every paint, the size of the printer's page for the page-view window,
// and the print command. The flag `printing` (framework/PrintJob.h) is set
// while the diagram paints onto the printer.
#include <windows.h>

#include <string>

class CDiag;
class CDC;

// First step of CDiag::Paint: sets the program-wide resolution from the
// device and, in page view, lays the page out (page mapping, sheet, text
// blocks of the measurements); `rect` comes in as the wrapper's drawing area
// and goes out as the rectangle left for the diagram.
void PageLayout(CDiag& diag, CDC& dc, RECT& rect);

// Physical size of the chosen printer's printable page in millimetres; false
// when there is no printer to ask.
bool PrintablePageSize(SIZE& millimetres);

// The print command (516): the printer set-up dialog, then one page of the
// diagram on the chosen printer, shown in page view while it prints.
void PrintDiagram(CDiag& diag);

// Draws `text` word-wrapped to the rectangle's width at the rectangle's
// bottom and moves the bottom up by the text's height, when the text fits
// above the top; otherwise draws nothing and leaves the rectangle alone.
void DrawTextUp(const std::wstring& text, HDC dc, RECT& rect);
