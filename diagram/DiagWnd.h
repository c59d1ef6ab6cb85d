#pragma once
// CDiagWnd: one diagram window, an MDI child of the main frame. It owns one
// CDiag, keeps it covering its client area (or, in page view, showing the
// page in the paper's proportions) and places it again whenever the chart
// says its layout changed, prints and exports it, passes activation, dropped files and
// the other commands on to it, and remembers whether diagram windows open
// minimised or maximised.
#include <string>

#include "Diag.h"
#include "Frame.h"

class CDiagWnd : public CMDIChild {
public:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;

    CDiag* diag = nullptr;  // owned by its window, a child of this one

private:
    void OnCreate();
    void OnSize(WPARAM sizeType);
};

constexpr int kMinTrackWidth = 300;
constexpr int kMinTrackHeight = 200;

// A new diagram window in the frame's MDI client, showing power over engine
// speed; adds the file when a path is given. Null when no window was made.
CDiagWnd* OpenDiagramWindow(CMDIFrame& frame, const std::wstring& path);

// Moves the diagram within its diagram window: over the whole client area
// (one pixel beyond each edge), or in page view as the page centred in
// pagePlacement or in the client area less 5 pixels.
void PlaceDiagram(CDiag& diag);

// The print command (516): the printer set-up dialog, then one page of the
// diagram on the chosen printer, shown in page view while it prints.
void PrintDiagram(CDiag& diag);
