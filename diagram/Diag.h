#pragma once
// CDiag: the chart window inside a diagram window. It plots one quantity
// over another for up to seven measurements, reads values under the mouse
// into the frame's status bar, zooms with a rubber band, switches views on
// the quick-view keys and the axis lists, and asks before unsaved changes
// are lost. Ranges, layout and mapping are those of its DiagramState; the
// chart draws onto whatever surface it is given and tells its parent window
// when its place there has to change.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "DiagramMessages.h"
#include "DiagramState.h"
#include "PageText.h"
#include "Drawing.h"
#include "Wnd.h"

struct PageMetrics;

class CDiag : public CWnd {
public:
    explicit CDiag(const EvaluationOptions& options);

    int WantsStatusHelp() override { return 0; }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The screen paint: Draw onto the window's own surface.
    int Paint(CDC* dc) override;
    // The whole diagram onto dc: the page first in page view, then axes,
    // legend or headline, curves and the lambda panel. `paper` for the
    // printer. A drawing on a screen is kept as `layout` for the mouse.
    void Draw(CDC& dc, bool paper);
    // The printed page onto dc as if it were the paper of a printer with
    // `page`, whatever the window shows: the export's drawing.
    void DrawPage(CDC& dc, const PageMetrics& page);
    int CanClose() override;

    // Ranges recomputed with the wait cursor, window repainted.
    void ComputeRanges();
    // Both quantities, the ranges, and the frame's axis lists told.
    void SetQuantities(int32_t x, int32_t y);
    // Loads one file; tells the user about a wrong file or a missing loss
    // point. True when the measurement was added.
    bool AddFile(const std::wstring& path);
    // True (after message 40017) when seven measurements are shown.
    bool IsFull();
    // Page view on or off, the frame's button and the window's place with it.
    void SetPageView(bool on);
    // The frame's axis lists and toggle buttons set to this diagram.
    void ReportView();

    void DrawAxis(HDC dc, const AxisFrame& frame, int kind, const Surface& surface);
    void DrawCurve(HDC dc, int i, const AxisFrame& frame, const Surface& surface);

    // A rubber band in the making: anchor (left/top) and pointer
    // (right/bottom) in client pixels, whether it is being drawn, and whether
    // it zooms the torque axis of a combined view.
    struct MouseDrag {
        IntRect rect;
        bool active = false;
        bool torque = false;
    };

    HCURSOR cursorHandle = nullptr;  // shown on the next cursor query
    DiagramState d;                  // measurements, quantities, ranges, flags
    PlotLayout layout;               // main plot of the last drawing on the screen
    MouseDrag drag;

private:
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnDropFiles(HDROP drop);
    void OnAddCommand();
    void OnAxisList(int id, int code, HWND list);
    void OnEditData();
    void OnCorrection();
    void OnLambdaCommand();
    void OnZoomAll();

    // The area the mouse works in, in client pixels: the whole window in page
    // view, else the plot of the axis meant (the torque axis when `torque` or
    // the band says so in a combined view).
    RECT ReferenceArea(bool torque);
    AxisFrame MouseFrame(bool torque) const;
    void NotifyLayoutChanged();
    void InvertBand();
    void PageZoom();
    std::vector<PageBlock> PageBlocks();
    // Draw, with the page laid out when `page` is given.
    void DrawOn(CDC& dc, bool paper, const PageMetrics* page);
    void DrawLambdaPanel(HDC dc, const IntRect& outer, const Surface& surface);
    void DrawLambdaDecorations(HDC dc, const AxisFrame& frame, const Surface& surface);
    void DrawHeadline(HDC dc, const IntRect& plot, const Surface& surface);
    void DrawLegend(HDC dc, const IntRect& plot, const Surface& surface);
    void ClipToPlot(HDC dc, const IntRect& plot);

    std::vector<IntPoint> points_;  // one curve at a time, reused
    std::unique_ptr<BitmapHolder> rich_, lean_;
    bool bitmapsLoaded_ = false;
};

// The main frame's status bar text, when there is a frame with a status bar.
void SetStatusText(const std::wstring& text);
// A private message to the main frame, when there is one.
void SendToFrame(UINT message, WPARAM wParam, LPARAM lParam);
