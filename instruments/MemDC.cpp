#include "MemDC.h"

CMemDC::CMemDC(HWND window, HDC compatible, int width, int height) : CDC(window, CreateCompatibleDC(compatible)) {
    // without a context to match, the bitmap matches the screen
    HDC screen = compatible ? nullptr : GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(compatible ? compatible : screen, width, height);
    if (screen) ReleaseDC(nullptr, screen);
    if (bitmap) {
        owned_ = std::make_unique<BitmapHolder>(bitmap);
        bitmap_ = owned_.get();
        if (hdc) bitmap_->SelectInto(hdc);
    }
}

CMemDC::CMemDC(HWND window, HDC compatible, BitmapHolder* borrowed)
    : CDC(window, CreateCompatibleDC(compatible)), bitmap_(borrowed) {
    if (bitmap_ && hdc) bitmap_->SelectInto(hdc);
}

CMemDC::~CMemDC() {
    if (bitmap_) bitmap_->Deselect();
    owned_.reset();
    if (hdc) DeleteDC(hdc);
}

void CMemDC::GetRect(RECT* rect) {
    if (bitmap_)
        SetRect(rect, 0, 0, bitmap_->width, bitmap_->height);
    else
        SetRectEmpty(rect);
}

std::unique_ptr<BitmapHolder> CMemDC::DetachBitmap() {
    if (owned_) owned_->Deselect();
    bitmap_ = nullptr;
    return std::move(owned_);
}
