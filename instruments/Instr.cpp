#include "Instr.h"

#include <cmath>

#include "DialGeometry.h"
#include "RoundScale.h"

namespace {

constexpr DWORD kInstrumentStyle = WS_CHILD | WS_VISIBLE | WS_GROUP;
constexpr int32_t kWantedIntervals = 10;

}  // namespace

LRESULT CInstr::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CWnd::WndProc(message, wParam, lParam);
    switch (message) {
    case WM_NCDESTROY:
        return result;  // the object is gone
    case WM_CREATE:
        CreateBackground();
        break;
    case WM_DESTROY:
        background.reset();
        break;
    case WM_SETTEXT:
        RenderBackground();
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        break;
    }
    return result;
}

// The size is fixed from here on: instruments are not resized.
void CInstr::CreateBackground() {
    RECT client{};
    GetClientRect(hwnd, &client);
    HDC windowDc = GetDC(hwnd);
    CMemDC memory(hwnd, windowDc, client.right, client.bottom);
    background = memory.DetachBitmap();
    ReleaseDC(hwnd, windowDc);
}

void CInstr::SetRange(int32_t newMinimum, int32_t newMaximum) {
    minimum = newMinimum;
    maximum = newMaximum;
    step = kWantedIntervals;
    RoundScale(minimum, maximum, step, kScaleOutward);
    RenderBackground();
    InvalidateRect(hwnd, nullptr, FALSE);
}

void CInstr::SetValue(int32_t newValue) {
    if (newValue > maximum) newValue = maximum;
    if (newValue < minimum) newValue = minimum;
    if (newValue == value) return;
    value = newValue;
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
}

void CInstr::RenderBackground() {
    if (!background || !hwnd) return;
    HDC windowDc = GetDC(hwnd);
    {
        CMemDC memory(hwnd, windowDc, background.get());
        // the parent's static brush, so the instrument's corners match the dialog
        HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(memory.hdc),
                                                             reinterpret_cast<LPARAM>(hwnd)));
        RECT client{};
        GetClientRect(hwnd, &client);
        FillRect(memory.hdc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        DrawBackground(memory);
    }
    ReleaseDC(hwnd, windowDc);
}

std::wstring CInstr::Caption() const {
    wchar_t text[32] = {};
    if (hwnd) GetWindowTextW(hwnd, text, 32);
    return text;
}

std::wstring CInstr::ValueText() const {
    return FormatValueText(Caption(), value);
}

void CInstr::PaintComposed(CDC* dc, const std::function<void(CDC& frame)>& drawMovingParts) {
    RECT area{};
    dc->GetRect(&area);
    if (IsRectEmpty(&area)) GetClientRect(hwnd, &area);
    std::unique_ptr<BitmapHolder> frame;
    {
        CMemDC memory(hwnd, dc->hdc, area.right - area.left, area.bottom - area.top);
        if (background) DrawBitmap(*background, memory.hdc, 0, 0, 0, 0, 0);
        if (drawMovingParts) drawMovingParts(memory);
        frame = memory.DetachBitmap();
    }
    if (frame) DrawBitmap(*frame, dc->hdc, area.left, area.top, 0, 0, 0);
}

CInstr* ReplacePlaceholder(HWND placeholder, CInstr* instrument, int32_t minimum, int32_t maximum) {
    RECT rect{};
    GetWindowRect(placeholder, &rect);
    HWND parent = GetParent(placeholder);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    wchar_t text[32] = {};
    GetWindowTextW(placeholder, text, 32);
    int id = GetDlgCtrlID(placeholder);
    DestroyWindow(placeholder);
    const wchar_t* className = RegisterWindowClass(nullptr, nullptr, nullptr, 0);
    if (!CreateBoundWindow(instrument, className, text, kInstrumentStyle,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), parent, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top))
        return nullptr;
    instrument->SetRange(minimum, maximum);
    instrument->SetValue(0);
    return instrument;
}

std::vector<ScaleMark> DialScaleMarks(HDC dc, const RECT& dial, int32_t minimum, int32_t maximum, int32_t step,
                                      const std::function<double(int32_t)>& angleOf,
                                      const std::function<std::wstring(int32_t)>& labelOf) {
    constexpr size_t kMaxMarks = 1000;
    std::vector<ScaleMark> marks;
    const int w = dial.right - dial.left, h = dial.bottom - dial.top;
    const int cx = (dial.left + dial.right) / 2, cy = (dial.top + dial.bottom) / 2;
    const int64_t increment = step > 0 ? step : 1;
    for (int64_t v = minimum; v <= maximum && marks.size() < kMaxMarks; v += increment) {
        ScaleMark mark;
        mark.value = static_cast<int32_t>(v);
        const double angle = angleOf(mark.value);
        const double a = -std::sin(angle), b = std::cos(angle);
        mark.dot = {static_cast<LONG>(w * a / 2.2 + cx), static_cast<LONG>(h * b / 2.2 + cy)};
        mark.text = labelOf(mark.value);
        RECT measured{};
        DrawTextW(dc, mark.text.c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT);
        const int tw = measured.right - measured.left, th = measured.bottom - measured.top;
        const int lx = static_cast<int>((w - tw - 10) * a / 2.3 + cx);
        const int ly = static_cast<int>((h - th) * b / 2.3 + cy);
        mark.label = {lx - tw / 2, ly - th / 2, lx + tw / 2 + 1, ly + th / 2 + 1};
        marks.push_back(mark);
    }
    return marks;
}

std::vector<ScaleMark> MeasuredScaleMarks(HWND window, int32_t labelFontHeight,
                                          const std::function<std::vector<ScaleMark>(HDC, const RECT&)>& marksIn) {
    RECT client{};
    if (window) GetClientRect(window, &client);
    HDC dc = CreateCompatibleDC(nullptr);
    std::vector<ScaleMark> marks;
    {
        FontSelection font = CreateBoldFont(dc, labelFontHeight, L"Arial");
        marks = marksIn(dc, client);
    }
    DeleteDC(dc);
    return marks;
}
