#include "Screenshot.h"

#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

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
    // the tests run in build/windows/bin; screenshots go to build/screenshots
    CreateDirectoryW(L"..\\..\\screenshots", nullptr);
    std::wstring path = std::wstring(L"..\\..\\screenshots\\") + fileName;

    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    RECT rect{};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    bool blank = IsBlank(memory, bitmap, width, height);
    DeleteDC(memory);
    ReleaseDC(window, source);

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    bool written = false;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        Gdiplus::GpBitmap* image = nullptr;
        if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok) {
            const CLSID pngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
            written = Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &pngEncoder, nullptr) == Gdiplus::Ok;
            Gdiplus::DllExports::GdipDisposeImage(image);
        }
        Gdiplus::GdiplusShutdown(token);
    }
    DeleteObject(bitmap);
    return written && !blank;
}
