#include "Indicator.h"

namespace {

constexpr int kCorner = 8;

}  // namespace

int CIndicator::Paint(CDC* dc) {
    if (!dc) return 1;
    HDC hdc = dc->hdc;
    RECT r{};
    dc->GetRect(&r);
    DrawSunkenFrame(r, hdc, kCorner);
    COLORREF fill = GetNearestColor(hdc, RGB(128, 128, 128));
    if (value != 0) {
        fill = GetNearestColor(hdc, RGB(255, 0, 0));
        SetTextColor(hdc, GetNearestColor(hdc, RGB(255, 255, 0)));
    }
    GdiSelection brush = SelectSolidBrush(hdc, fill);
    RoundRect(hdc, r.left, r.top, r.right, r.bottom, kCorner, kCorner);
    SetBkMode(hdc, TRANSPARENT);
    const std::wstring caption = Caption();
    DrawTextW(hdc, caption.c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    return 1;
}
