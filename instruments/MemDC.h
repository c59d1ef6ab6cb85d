#pragma once
// CMemDC: an off-screen memory context with its bitmap, for drawing a frame
// completely before it goes to the screen in one transfer.
#include <memory>

#include "DC.h"
#include "Drawing.h"

class CMemDC : public CDC {
public:
    // A memory context compatible with `compatible` holding a new bitmap of
    // width × height (compatible with `compatible`, so it has its colours;
    // with a null `compatible`, with the screen).
    CMemDC(HWND window, HDC compatible, int width, int height);
    // A memory context compatible with `compatible` with `borrowed` selected;
    // the bitmap stays the holder's and is deselected again on destruction.
    CMemDC(HWND window, HDC compatible, BitmapHolder* borrowed);
    ~CMemDC() override;  // deselects and deletes an owned bitmap, deletes the context

    // (0, 0, bitmap width, bitmap height), empty without a bitmap.
    void GetRect(RECT* rect) override;
    int GetKind() override { return kMemoryDC; }

    // Hands the owned bitmap over, deselected.
    std::unique_ptr<BitmapHolder> DetachBitmap();
    BitmapHolder* Bitmap() const { return bitmap_; }

private:
    std::unique_ptr<BitmapHolder> owned_;
    BitmapHolder* bitmap_ = nullptr;
};
