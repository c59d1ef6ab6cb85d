#pragma once
// Page view and printing of a diagram: the page layout that is the first step
// of every paint, the size of the printer's page for the page-view window,
// and the print command. The program-wide print flags live here too.
#include <windows.h>

class CDiag;
class CDC;

struct PrintFlags {
    int abortRequested = 0;  // set by the progress dialog's "Abbruch"
    int printing = 0;        // set while the diagram paints onto the printer
};

PrintFlags& thePrintFlags();

// First step of CDiag::Paint: sets the program-wide resolution from the
// device and, in page view, lays the page out (page mapping, sheet, text
// blocks of the measurements); `rect` comes in as the wrapper's drawing area
// and goes out as the rectangle left for the diagram.
void PageLayout(CDiag& diag, CDC& dc, RECT& rect);

// Physical size of the chosen printer's printable page in millimetres; false
// when there is no printer to ask.
bool PrintablePageSize(SIZE& millimetres);

// The print command (516): one page of the diagram on the chosen printer.
void PrintDiagram(CDiag& diag);
