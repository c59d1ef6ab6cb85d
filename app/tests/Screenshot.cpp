#include "Screenshot.h"

#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

// A picture of one colour only (all black when nothing was drawn) is no
// picture of a dialog.
bool IsBlank(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    if (pixels.empty() || !GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS)) return true;
    for (uint32_t pixel : pixels)
        if ((pixel & 0xFFFFFF) != (pixels[0] & 0xFFFFFF)) return false;
    return true;
}

}  // namespace

bool SaveWindowImage(HWND window, const wchar_t* fileName) {
    std::wstring path = PrepareScreenshot(window, fileName);
    RECT rect{};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    HDC source = GetWindowDC(window);
    HBITMAP bitmap = CopyToBitmap(source, 0, 0, width, height);
    bool blank = IsBlank(source, bitmap, width, height);
    ReleaseDC(window, source);
    bool written = SavePng(bitmap, path);
    DeleteObject(bitmap);
    return written && !blank;
}
