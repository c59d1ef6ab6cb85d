#pragma once
// Small drawing utilities shared by the instruments, the status bar and the
// diagram: selection holders for pens, brushes and fonts, lines, bitmaps with
// plain or alpha-blended transfer, and the etched frame.
#include <windows.h>

#include <cstdint>
#include <memory>

// A pen, brush or font selected into a context for one drawing step. Owns the
// object: releasing selects the previous object back and deletes it.
class GdiSelection {
public:
    GdiSelection() = default;
    GdiSelection(HDC dc, HGDIOBJ object);  // selects when dc is not null
    GdiSelection(GdiSelection&& other) noexcept;
    GdiSelection& operator=(GdiSelection&& other) noexcept;
    GdiSelection(const GdiSelection&) = delete;
    GdiSelection& operator=(const GdiSelection&) = delete;
    ~GdiSelection();

    void Release();

    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
    HGDIOBJ object = nullptr;
};

// A font selection that also keeps the logical font it was made from.
class FontSelection : public GdiSelection {
public:
    FontSelection() = default;
    FontSelection(HDC dc, const LOGFONTW& font);
    HFONT Font() const { return static_cast<HFONT>(object); }

    LOGFONTW logFont{};
};

// Bold ClearType font of `height` device units cell height (weight 700);
// selected into `dc` when one is given.
FontSelection CreateBoldFont(HDC dc, int height, const wchar_t* faceName);
GdiSelection SelectPen(HDC dc, int style, int width, COLORREF colour);
GdiSelection SelectSolidBrush(HDC dc, COLORREF colour);

// From (x1, y1) to (x2, y2). With a wide pen and equal points a round dot.
void DrawLine(HDC dc, int x1, int y1, int x2, int y2);

// One bitmap and where it is selected.
struct BitmapHolder {
    BitmapHolder() = default;
    explicit BitmapHolder(HBITMAP owned);  // reads width and height
    BitmapHolder(const BitmapHolder&) = delete;
    BitmapHolder& operator=(const BitmapHolder&) = delete;
    ~BitmapHolder();  // deselects and deletes the bitmap

    void SelectInto(HDC target);
    void Deselect();
    HBITMAP Detach();  // deselected; the caller owns it

    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;  // null while not selected
    HDC dc = nullptr;
    uint16_t width = 0;
    uint16_t height = 0;
};

// A bitmap resource (32-bit bitmaps keep their alpha channel); null when missing.
std::unique_ptr<BitmapHolder> LoadBitmapHolder(const wchar_t* resourceName);

// Copies the bitmap to (x, y) in `target`, stretched to width × height (0:
// the bitmap's own). alpha 0 copies; 1..255 blends with that constant alpha
// over the bitmap's per-pixel alpha.
void DrawBitmap(BitmapHolder& holder, HDC target, int x, int y, int width, int height, int alpha);

// The bitmap resource `name` drawn with DrawBitmap; nothing when it is missing.
void DrawBitmapResource(const wchar_t* name, HDC target, int x, int y, int width, int height, int alpha);

// Single-line text centred in `rect` in `first`, then once more moved by
// (dx, dy) in `second`: a shadowed or embossed label. The text colour is
// restored afterwards.
void DrawTwoToneText(HDC dc, const wchar_t* text, RECT rect, COLORREF first, int dx, int dy, COLORREF second);

// Etched frame: shrinks `rect` by 1 on each side, then a white rounded
// rectangle and a grey one 1 pixel up and left (corner diameter `corner`).
void DrawSunkenFrame(RECT& rect, HDC dc, int corner);
