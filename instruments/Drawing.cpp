#include "Drawing.h"

#include <cwchar>
#include <utility>

#include "FrameworkState.h"

GdiSelection::GdiSelection(HDC targetDc, HGDIOBJ owned) : dc(targetDc), object(owned) {
    if (dc && object) previous = SelectObject(dc, object);
}

GdiSelection::GdiSelection(GdiSelection&& other) noexcept
    : dc(std::exchange(other.dc, nullptr)),
      previous(std::exchange(other.previous, nullptr)),
      object(std::exchange(other.object, nullptr)) {}

GdiSelection& GdiSelection::operator=(GdiSelection&& other) noexcept {
    if (this != &other) {
        Release();
        dc = std::exchange(other.dc, nullptr);
        previous = std::exchange(other.previous, nullptr);
        object = std::exchange(other.object, nullptr);
    }
    return *this;
}

GdiSelection::~GdiSelection() {
    Release();
}

void GdiSelection::Release() {
    if (dc && previous) SelectObject(dc, previous);
    if (object) DeleteObject(object);
    dc = nullptr;
    previous = nullptr;
    object = nullptr;
}

FontSelection::FontSelection(HDC targetDc, const LOGFONTW& font)
    : GdiSelection(targetDc, CreateFontIndirectW(&font)), logFont(font) {}

FontSelection CreateBoldFont(HDC dc, int height, const wchar_t* faceName) {
    LOGFONTW font{};
    if (faceName) std::wcsncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    font.lfHeight = height;
    font.lfWeight = FW_BOLD;
    font.lfQuality = CLEARTYPE_QUALITY;
    return FontSelection(dc, font);
}

GdiSelection SelectPen(HDC dc, int style, int width, COLORREF colour) {
    return GdiSelection(dc, CreatePen(style, width, colour));
}

GdiSelection SelectSolidBrush(HDC dc, COLORREF colour) {
    return GdiSelection(dc, CreateSolidBrush(colour));
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

BitmapHolder::BitmapHolder(HBITMAP owned) : bitmap(owned) {
    BITMAP info{};
    if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
        width = static_cast<uint16_t>(info.bmWidth);
        height = static_cast<uint16_t>(info.bmHeight);
    }
}

BitmapHolder::~BitmapHolder() {
    Deselect();
    if (bitmap) DeleteObject(bitmap);
}

void BitmapHolder::SelectInto(HDC target) {
    Deselect();
    previous = SelectObject(target, bitmap);
    dc = previous ? target : nullptr;
}

void BitmapHolder::Deselect() {
    if (dc && previous) SelectObject(dc, previous);
    dc = nullptr;
    previous = nullptr;
}

HBITMAP BitmapHolder::Detach() {
    Deselect();
    return std::exchange(bitmap, nullptr);
}

std::unique_ptr<BitmapHolder> LoadBitmapHolder(const wchar_t* resourceName) {
    HANDLE bitmap = LoadImageW(FrameworkInstance(), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!bitmap) return nullptr;
    return std::make_unique<BitmapHolder>(static_cast<HBITMAP>(bitmap));
}

void DrawBitmap(BitmapHolder& holder, HDC target, int x, int y, int width, int height, int alpha) {
    HGDIOBJ oldBrush = SelectObject(target, GetStockObject(BLACK_BRUSH));
    HDC memory = CreateCompatibleDC(target);
    holder.SelectInto(memory);
    if (width == 0) width = holder.width;
    if (height == 0) height = holder.height;
    if (alpha == 0) {
        StretchBlt(target, x, y, width, height, memory, 0, 0, holder.width, holder.height, SRCCOPY);
    } else {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
        AlphaBlend(target, x, y, width, height, memory, 0, 0, holder.width, holder.height, blend);
    }
    holder.Deselect();
    DeleteDC(memory);
    SelectObject(target, oldBrush);
}

void DrawBitmapResource(const wchar_t* name, HDC target, int x, int y, int width, int height, int alpha) {
    std::unique_ptr<BitmapHolder> picture = LoadBitmapHolder(name);
    if (picture) DrawBitmap(*picture, target, x, y, width, height, alpha);
}

void DrawTwoToneText(HDC dc, const wchar_t* text, RECT rect, COLORREF first, int dx, int dy, COLORREF second) {
    const UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    const COLORREF previous = SetTextColor(dc, first);
    DrawTextW(dc, text, -1, &rect, format);
    OffsetRect(&rect, dx, dy);
    SetTextColor(dc, second);
    DrawTextW(dc, text, -1, &rect, format);
    SetTextColor(dc, previous);
}

void DrawSunkenFrame(RECT& rect, HDC dc, int corner) {
    InflateRect(&rect, -1, -1);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
    RoundRect(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1, corner, corner);
    {
        GdiSelection grey = SelectPen(dc, PS_SOLID, 1, RGB(127, 127, 127));
        RoundRect(dc, rect.left - 1, rect.top - 1, rect.right, rect.bottom, corner, corner);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}
