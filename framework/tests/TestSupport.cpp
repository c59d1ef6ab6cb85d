#include "TestSupport.h"

#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {  // left for the test to see
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring WindowTextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int DluX(HWND dialog, int units) {
    RECT rect{units, 0, 0, 0};
    MapDialogRect(dialog, &rect);
    return rect.left;
}

int DluY(HWND dialog, int units) {
    RECT rect{0, units, 0, 0};
    MapDialogRect(dialog, &rect);
    return rect.top;
}

namespace {

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring(className) == L"#32770") PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

}  // namespace

void CancelThreadDialogs() {
    EnumThreadWindows(GetCurrentThreadId(), &CancelDialog, 0);
}

HBITMAP CopyToBitmap(HDC source, int x, int y, int width, int height) {
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return bitmap;
}

bool SavePng(HBITMAP bitmap, const std::wstring& path) {
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
    return written;
}

std::wstring PrepareScreenshot(HWND window, const wchar_t* fileName) {
    // the tests run in build/windows/bin; screenshots go to build/screenshots
    CreateDirectoryW(L"..\\..\\screenshots", nullptr);
    std::wstring path = std::wstring(L"..\\..\\screenshots\\") + fileName;

    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    return path;
}

bool SaveScreenshot(HWND window, const wchar_t* fileName) {
    std::wstring path = PrepareScreenshot(window, fileName);
    RECT rect{};
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);  // the screen, where the window and its children are composed
    HBITMAP bitmap = CopyToBitmap(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(nullptr, screen);
    bool written = SavePng(bitmap, path);
    DeleteObject(bitmap);
    return written;
}
