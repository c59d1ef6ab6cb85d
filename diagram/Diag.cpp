#include "Diag.h"


#include <algorithm>
#include <utility>

#include "AxisLayout.h"
#include "CommonDialogs.h"
#include "DC.h"
#include "DiagPage.h"
#include "DiagramHooks.h"
#include "Frame.h"
#include "FrameworkState.h"
#include "MeasurementFile.h"
#include "Settings.h"
#include "TextBuffers.h"
#include "WaitCursor.h"
#include "resource.h"

static_assert(sizeof(IntPoint) == sizeof(POINT), "curve points go to Polyline as they are");

namespace {

constexpr int kMinimumBand = 10;  // pixels; a band must be larger both ways to zoom

// Client coordinates of a mouse message; negative while the mouse is captured
// and outside the window.
POINT PointerOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

RECT ToRect(const IntRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The diagram window (the MDI child) owns the message boxes of its diagram.
HWND OwnerOf(HWND diagram) {
    HWND parent = GetParent(diagram);
    return parent ? parent : diagram;
}

// A line drawing through points given in tenths of a millimetre relative to
// (x0, y0), with a solid black pen of the given width.
struct Stroke {
    int width;  // tenths of a millimetre
    int count;
    int points[3][2];
};

void DrawStroke(HDC dc, int x0, int y0, const Stroke& s, const Surface& surface) {
    GdiSelection pen = SelectPen(dc, PS_SOLID, surface.MmX(s.width), RGB(0, 0, 0));
    MoveToEx(dc, x0 + surface.MmX(s.points[0][0]), y0 + surface.MmY(s.points[0][1]), nullptr);
    for (int k = 1; k < s.count; ++k)
        LineTo(dc, x0 + surface.MmX(s.points[k][0]), y0 + surface.MmY(s.points[k][1]));
}

// The printed "FETT" (rich: nozzle and wide fan) and "MAGER" (lean: nozzle
// and thin jet) pictograms, relative to the upper left corner of their mark.
const Stroke kRichStrokes[] = {
    {8, 3, {{0, 5}, {20, 5}, {30, 15}}},   {8, 3, {{0, 35}, {20, 35}, {30, 25}}},
    {4, 2, {{40, 20}, {60, 20}}},          {4, 2, {{40, 20}, {60, 35}}},
    {4, 2, {{40, 20}, {60, 5}}},
};
const Stroke kLeanStrokes[] = {
    {8, 3, {{0, 35}, {20, 35}, {30, 25}}},  {8, 3, {{0, 5}, {20, 5}, {30, 15}}},
    {2, 2, {{40, 20}, {60, 20}}},
};

}  // namespace

void SetStatusText(const std::wstring& text) {
    CFrame* frame = dynamic_cast<CFrame*>(theFramework().mainWindow);
    if (frame && frame->statusBar) SetWindowTextW(frame->statusBar, text.c_str());
}

void SendToFrame(UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* frame = theFramework().mainWindow;
    if (frame && frame->hwnd) SendMessageW(frame->hwnd, message, wParam, lParam);
}

CDiag::CDiag(const EvaluationOptions& options) : d(options) {}

// ---- messages ----------------------------------------------------------------

LRESULT CDiag::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:   return OnMouseMove(wParam, lParam);
    case WM_LBUTTONDOWN: return OnLButtonDown(wParam, lParam);
    case WM_LBUTTONUP:   return OnLButtonUp(wParam, lParam);
    case WM_SETCURSOR:   return OnSetCursor(message, wParam, lParam);
    case WM_DROPFILES:   return OnDropFiles(reinterpret_cast<HDROP>(wParam));
    case WM_MDIACTIVATE:
        if (reinterpret_cast<HWND>(lParam) == GetParent(hwnd)) ReportView();
        break;
    case WM_DESTROY:
        if (drag.active) {
            ClipCursor(nullptr);
            ReleaseCapture();
        }
        d.ReleaseAll();
        break;
    }
    return CWnd::WndProc(message, wParam, lParam);
}

int CDiag::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    int32_t x = 0, y = 0;
    if (QuickView(id, theSettings().graphPowerUnit, x, y)) {
        SetQuantities(x, y);
        return 1;
    }
    switch (id) {
    case ID_FILE_ADD:        OnAddCommand(); return 1;
    case ID_VIEW_PAGE:       SetPageView(!d.pageView); return 1;
    case ID_ZOOM_ALL:        OnZoomAll(); return 1;
    case ID_EDIT_DATA:       OnEditData(); return 1;
    case ID_CORRECTION:      OnCorrection(); return 1;
    case ID_LAMBDA_CURVE:    OnLambdaCommand(); return 1;
    case ID_AXIS_X:
    case ID_AXIS_Y:
        OnAxisList(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return CWnd::OnCommand(message, wParam, lParam);
    default:
        return CWnd::OnCommand(message, wParam, lParam);
    }
}

LRESULT CDiag::OnSetCursor(UINT message, WPARAM wParam, LPARAM lParam) {
    if (cursorHandle) SetCursor(cursorHandle);
    return DefaultProc(message, wParam, lParam);
}

AxisFrame CDiag::MouseFrame(bool torque) const { return d.MouseFrame(layout, torque || drag.torque); }

RECT CDiag::ReferenceArea(bool torque) {
    RECT area{};
    if (d.pageView) {
        GetClientRect(hwnd, &area);
        return area;
    }
    return ToRect(MouseFrame(torque).plot);
}

void CDiag::NotifyLayoutChanged() {
    if (HWND parent = GetParent(hwnd)) SendMessageW(parent, kChartLayoutChanged, 0, 0);
}

LRESULT CDiag::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (d.count == 0) return 0;
    const POINT pointer = PointerOf(lParam);
    const bool ctrl = (wParam & MK_CONTROL) != 0;
    const RECT area = ReferenceArea(ctrl);
    if (PtInRect(&area, pointer)) {
        cursorHandle = LoadCursorW(nullptr, IDC_CROSS);
        if (drag.active) InvertBand();
        drag.rect.right = pointer.x;
        drag.rect.bottom = pointer.y;
        if (d.pageView) {
            RECT parent{};
            GetClientRect(GetParent(hwnd), &parent);
            drag.rect = PageBand({drag.rect.left, drag.rect.top}, {pointer.x, pointer.y}, parent.right, parent.bottom);
        }
        if (drag.active) InvertBand();
        if (!d.pageView) SetStatusText(d.Readout(MouseFrame(ctrl), drag.rect, drag.active));
    } else {
        cursorHandle = LoadCursorW(nullptr, IDC_ARROW);
        SetStatusText(OutsideReadout({area.left, area.top, area.right, area.bottom}, {pointer.x, pointer.y}));
    }
    return 0;
}

LRESULT CDiag::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    if (d.count == 0) return 0;
    const POINT pointer = PointerOf(lParam);
    const bool ctrl = (wParam & MK_CONTROL) != 0;
    if (d.IsCombinedView() && ctrl) drag.torque = true;
    RECT area = ReferenceArea(ctrl);
    if (PtInRect(&area, pointer)) {
        drag.rect = {pointer.x, pointer.y, pointer.x, pointer.y};
        SetCapture(hwnd);
        // while the band is drawn the pointer stays inside the area it zooms
        MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
        ClipCursor(&area);
        drag.active = true;
        InvertBand();
    }
    return 0;
}

LRESULT CDiag::OnLButtonUp(WPARAM, LPARAM) {
    if (d.count == 0) return 0;
    if (drag.active) {
        // take the band off the screen: a band too small to zoom would stay
        InvertBand();
        drag.rect = normalised(drag.rect);
        drag.active = false;
        ClipCursor(nullptr);
        ReleaseCapture();
        if (d.pageView)
            PageZoom();
        else if (d.FinishZoom(drag.rect, layout, drag.torque))
            InvalidateRect(hwnd, nullptr, TRUE);
    }
    drag.torque = false;
    return 0;
}

void CDiag::InvertBand() {
    HDC dc = GetDC(hwnd);
    const int previousMode = SetROP2(dc, R2_NOT);
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    const IntRect r = normalised(drag.rect);
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    SetROP2(dc, previousMode);
    ReleaseDC(hwnd, dc);
}

// The banded part of the page preview is made to fill the diagram window.
void CDiag::PageZoom() {
    const IntRect band = drag.rect;
    if (band.width() <= kMinimumBand || band.height() <= kMinimumBand) return;
    RECT client{}, parent{};
    GetClientRect(hwnd, &client);
    GetClientRect(GetParent(hwnd), &parent);
    d.pagePlacement = PagePlacementForBand({client.right, client.bottom}, {parent.right, parent.bottom}, band);
    NotifyLayoutChanged();
}

LRESULT CDiag::OnDropFiles(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT k = 0; k < count; ++k) {
        if (IsFull()) break;
        // the whole name, however long: a cut one names a file that is not there
        const UINT length = DragQueryFileW(drop, k, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        name.resize(DragQueryFileW(drop, k, &name[0], length + 1));
        AddFile(name);
    }
    DragFinish(drop);
    return 0;
}

// ---- commands ----------------------------------------------------------------

void CDiag::ComputeRanges() {
    {
        WaitCursor wait;
        d.ComputeRanges();
    }
    if (hwnd) InvalidateRect(hwnd, nullptr, TRUE);
}

void CDiag::SetQuantities(int32_t x, int32_t y) {
    d.xQuantity = x;
    d.yQuantity = y;
    ComputeRanges();
    SendToFrame(kFrameAxisLists, 0, MAKELPARAM(x, y));
}

bool CDiag::IsFull() {
    if (!d.IsFull()) return false;
    MessageBoxW(OwnerOf(hwnd), LoadText(IDS_DIAGRAM_FULL), LoadText(IDS_ERROR), MB_OK | MB_ICONERROR);
    return true;
}

bool CDiag::AddFile(const std::wstring& path) {
    AddResult result;
    {
        WaitCursor wait;
        result = d.AddFile(path);
    }
    switch (result) {
    case AddResult::Full:
        IsFull();
        return false;
    case AddResult::BadFormat:
        MessageBoxW(OwnerOf(hwnd), LoadText(IDS_WRONG_FORMAT), LoadText(IDS_ERROR), MB_OK | MB_ICONERROR);
        return false;
    case AddResult::NoLossPoint:
        InvalidateRect(hwnd, nullptr, TRUE);
        MessageBoxW(OwnerOf(hwnd), LoadText(IDS_NO_COASTDOWN), path.c_str(), MB_OK | MB_ICONERROR);
        return true;
    case AddResult::Added:
        InvalidateRect(hwnd, nullptr, TRUE);
        return true;
    }
    return false;
}

void CDiag::OnAddCommand() {
    if (IsFull()) return;
    const auto choose = theDiagramHooks().chooseMeasurementFile;
    if (choose && choose(OwnerOf(hwnd), 1) == 1) AddFile(theSettings().desktopLastFile);
}

void CDiag::OnAxisList(int id, int code, HWND list) {
    if (code != CBN_SELENDOK) return;
    const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (id == ID_AXIS_X && selected >= 0 && selected <= kQuantityDistance) {
        d.xQuantity = int32_t(selected);
        ComputeRanges();
    } else if (id == ID_AXIS_Y && selected >= 0 && selected <= kQuantityPowerTorquePs) {
        d.yQuantity = int32_t(selected);
        ComputeRanges();
    }
}

void CDiag::OnEditData() {
    if (d.count == 0) return;
    const auto edit = theDiagramHooks().editData;
    if (edit && edit(OwnerOf(hwnd), d) == IDOK) {
        d.ForgetEvaluations();
        ComputeRanges();
    }
}

void CDiag::OnCorrection() {
    const auto correct = theDiagramHooks().correction;
    if (correct && correct(OwnerOf(hwnd), d.options) == IDOK) {
        d.ForgetEvaluations();
        ComputeRanges();
    }
}

void CDiag::OnLambdaCommand() {
    d.lambdaShown = !d.lambdaShown;
    SendToFrame(kFrameLambdaButton, d.lambdaShown, 0);
    NotifyLayoutChanged();
    InvalidateRect(hwnd, nullptr, TRUE);
}

void CDiag::OnZoomAll() {
    if (d.pageView) {
        d.pagePlacement = {};
        NotifyLayoutChanged();
        return;
    }
    d.ZoomAll();
    InvalidateRect(hwnd, nullptr, TRUE);
}

void CDiag::SetPageView(bool on) {
    if (on == d.pageView) return;
    if (on && !PrinterDevNames()) {
        CWnd* frame = theFramework().mainWindow;
        if (!RunPrintDlg(PD_PRINTSETUP, frame ? frame->hwnd : nullptr, new CPrintDlg)) {
            SendToFrame(kFramePageViewButton, 0, 0);
            return;
        }
    }
    d.pageView = on;
    SendToFrame(kFramePageViewButton, on, 0);
    NotifyLayoutChanged();
    InvalidateRect(hwnd, nullptr, TRUE);
}

void CDiag::ReportView() {
    SendToFrame(kFramePageViewButton, d.pageView, 0);
    SendToFrame(kFrameLambdaButton, d.lambdaShown, 0);
    SendToFrame(kFrameAxisLists, 0, MAKELPARAM(d.xQuantity, d.yQuantity));
}

int CDiag::CanClose() {
    for (int32_t i = 0; i < d.count; ++i) {
        Measurement& m = *d.measurements[i];
        if (!m.modified) continue;
        const int answer =
            MessageBoxW(OwnerOf(hwnd), LoadText(IDS_SAVE_CHANGES), m.fileName.c_str(), MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) return 0;
        // a failed save keeps the window open, so the changes are not lost
        if (answer == IDYES && !writeMeasurement(m)) {
            MessageBoxW(OwnerOf(hwnd), LoadText(IDS_NOT_SAVED), m.fileName.c_str(), MB_OK | MB_ICONERROR);
            return 0;
        }
    }
    return 1;
}

// ---- drawing -----------------------------------------------------------------

int CDiag::Paint(CDC* dc) {
    if (dc) Draw(*dc, false);
    return 1;
}

std::vector<PageBlock> CDiag::PageBlocks() {
    std::vector<PageBlock> blocks;
    for (int32_t i = 0; i < d.count; ++i)
        blocks.push_back(MakePageBlock(d.cursor, *d.measurements[i], theSettings().timeFormat));
    return blocks;
}

void CDiag::Draw(CDC& dc, bool paper) {
    if (d.pageView) {
        const PageMetrics page = ReadPageMetrics(hwnd);
        DrawOn(dc, paper, &page);
    } else {
        DrawOn(dc, paper, nullptr);
    }
}

void CDiag::DrawPage(CDC& dc, const PageMetrics& page) {
    // drawn as the print command draws it: in page view, whatever the window shows
    const bool shown = d.pageView;
    d.pageView = true;
    DrawOn(dc, true, &page);
    d.pageView = shown;
}

void CDiag::DrawOn(CDC& dc, bool paper, const PageMetrics* page) {
    const HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    HDC h = dc.hdc;
    RECT area{};
    dc.GetRect(&area);
    const Surface surface =
        page ? LayOutPage(h, paper, *page, theSettings(), PageBlocks(), area) : SurfaceOf(h, paper);
    const PlotLayout main = d.LayoutMainPlot({area.left, area.top, area.right, area.bottom}, surface);
    if (!paper) layout = main;
    const AxisFrame primary = d.PrimaryFrame(main);
    FontSelection font = CreateBoldFont(h, surface.MmY(45), L"Arial");

    DrawAxis(h, primary, kAxisX, surface);
    if (d.IsCombinedView()) DrawAxis(h, d.TorqueFrame(main), kAxisRight, surface);
    DrawAxis(h, primary, kAxisLeft, surface);
    if (page)
        DrawHeadline(h, main.plot, surface);
    else
        DrawLegend(h, main.plot, surface);
    SetTextColor(h, RGB(0, 0, 0));

    ClipToPlot(h, main.plot);
    if (d.IsCombinedView()) {
        // view 7 draws its kW curves first, view 8 its torque curves first
        const AxisFrame torque = d.TorqueFrame(main);
        const bool powerFirst = d.yQuantity == kQuantityPowerTorqueKw;
        const AxisFrame* order[2] = {powerFirst ? &primary : &torque, powerFirst ? &torque : &primary};
        const int32_t shown = d.CurveCount();
        for (const AxisFrame* frame : order)
            for (int32_t i = 0; i < shown; ++i) DrawCurve(h, i, *frame, surface);
    } else {
        for (int32_t i = 0; i < d.count; ++i) DrawCurve(h, i, primary, surface);
    }
    SetCursor(previousCursor);
    SelectClipRgn(h, nullptr);

    if (d.lambdaShown) DrawLambdaPanel(h, main.outer, surface);
    font.Release();
}

void CDiag::DrawLegend(HDC h, const IntRect& plot, const Surface& s) {
    SetBkMode(h, TRANSPARENT);
    for (int32_t i = 0; i < d.count; ++i) {
        SetTextColor(h, kCurveColours[i]);
        const std::wstring& name = d.measurements[i]->fileName;
        TextOutW(h, plot.left + s.MmX(50), plot.top + s.MmY(50 * i - 35), name.c_str(), int(name.size()));
    }
}

void CDiag::DrawHeadline(HDC h, const IntRect& plot, const Surface& surface) {
    const Settings& s = theSettings();
    FontSelection font = CreateBoldFont(h, surface.MmY(s.fontHeight * 4 / 3), s.fontName.c_str());
    RECT box{plot.left + surface.MmX(50), plot.top - surface.MmY(150), plot.right, plot.top};
    DrawTextW(h, s.pageHeadline.c_str(), -1, &box, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
}

void CDiag::ClipToPlot(HDC h, const IntRect& plot) {
    // in device units, so that the clip also holds under the page mapping
    POINT corners[2] = {{plot.left, plot.top}, {plot.right, plot.bottom}};
    LPtoDP(h, corners, 2);
    HRGN region = CreateRectRgn(std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
                                std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y));
    SelectClipRgn(h, region);
    DeleteObject(region);
}

void CDiag::DrawCurve(HDC h, int i, const AxisFrame& frame, const Surface& s) {
    IntPoint loss;
    const bool mark = d.CurvePoints(i, frame, points_, &loss);
    // thousands of evaluation points fall on far fewer pixels; a point on the
    // pixel of the one before adds nothing to the line
    points_.erase(std::unique(points_.begin(), points_.end(),
                              [](const IntPoint& a, const IntPoint& b) { return a.x == b.x && a.y == b.y; }),
                  points_.end());
    GdiSelection pen = SelectPen(h, PS_SOLID, s.MmX(2), kCurveColours[i]);
    if (points_.size() >= 2) Polyline(h, reinterpret_cast<const POINT*>(points_.data()), int(points_.size()));
    if (mark) Ellipse(h, loss.x - s.MmX(10), loss.y - s.MmY(10), loss.x + s.MmX(10), loss.y + s.MmY(10));
}

void CDiag::DrawAxis(HDC h, const AxisFrame& frame, int kind, const Surface& surface) {
    const AxisPicture a = LayoutAxis(d, frame, kind, surface);
    if (a.lambdaDecorations) DrawLambdaDecorations(h, frame, surface);
    if (!a.grid.empty()) {
        // one dotted pen for all grid lines of the axis
        GdiSelection dotted = SelectPen(h, PS_DOT, 0, a.gridColour);
        for (const AxisSegment& g : a.grid) DrawLine(h, g.from.x, g.from.y, g.to.x, g.to.y);
    }
    for (const AxisSegment& m : a.marks) DrawLine(h, m.from.x, m.from.y, m.to.x, m.to.y);
    // a label wider than its box runs over the box rather than losing digits
    const UINT format = a.labelAlign == LabelAlign::CentreTop ? DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP
                                                             : DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;
    for (const AxisLabel& l : a.labels) {
        RECT box = ToRect(l.box);
        DrawTextW(h, l.text.c_str(), int(l.text.size()), &box, format);
    }
    if (a.hasAxisLine) {
        DrawLine(h, a.axisLine.from.x, a.axisLine.from.y, a.axisLine.to.x, a.axisLine.to.y);
        const POINT arrow[3] = {{a.arrow[0].x, a.arrow[0].y}, {a.arrow[1].x, a.arrow[1].y}, {a.arrow[2].x, a.arrow[2].y}};
        Polygon(h, arrow, 3);
    }
    if (a.hasTitle) {
        const UINT previous = SetTextAlign(h, TA_TOP | (a.title.align == TitleAlign::Right ? TA_RIGHT : TA_LEFT));
        TextOutW(h, a.title.anchor.x, a.title.anchor.y, a.title.text.c_str(), int(a.title.text.size()));
        SetTextAlign(h, previous);
    }
}

void CDiag::DrawLambdaPanel(HDC h, const IntRect& outer, const Surface& surface) {
    const AxisFrame panel = d.LambdaFrame(LayoutPlot(outer, kLambdaPanel, surface));
    DrawAxis(h, panel, kAxisX, surface);
    DrawAxis(h, panel, kAxisLeft, surface);
    ClipToPlot(h, panel.plot);
    for (int32_t i = 0; i < d.count; ++i) DrawCurve(h, i, panel, surface);
    SelectClipRgn(h, nullptr);
}

void CDiag::DrawLambdaDecorations(HDC h, const AxisFrame& f, const Surface& s) {
    const int32_t left = f.plot.left, top = f.plot.top, bottom = f.plot.bottom;
    const MixtureMarks marks = LayoutMixtureMarks(f, s);
    if (s.paper) {
        for (const Stroke& stroke : kRichStrokes) DrawStroke(h, marks.rich.left, marks.rich.top, stroke, s);
        for (const Stroke& stroke : kLeanStrokes) DrawStroke(h, marks.lean.left, marks.lean.top, stroke, s);
    } else {
        if (!bitmapsLoaded_) {
            // the pictures may be missing from a build without images; the
            // panel is then drawn without them
            rich_ = LoadBitmapHolder(L"FETT");
            lean_ = LoadBitmapHolder(L"MAGER");
            bitmapsLoaded_ = true;
        }
        for (const auto& [picture, place] : {std::pair{rich_.get(), marks.rich}, std::pair{lean_.get(), marks.lean}})
            if (picture) DrawBitmap(*picture, h, place.left, place.top, place.width(), place.height(), 0);
    }
    GdiSelection red = SelectPen(h, PS_SOLID, s.MmX(4), RGB(255, 0, 0));
    const int32_t y = top + (bottom - top) * (kLambdaReference - f.view.top) / (f.view.bottom - f.view.top);
    DrawLine(h, left, y, f.plot.right, y);
}
