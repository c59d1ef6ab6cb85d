#include "Instr.h"

#include "DialGeometry.h"
#include "RoundScale.h"

namespace {

constexpr DWORD kInstrumentStyle = 0x50020000;  // child, visible, group
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
