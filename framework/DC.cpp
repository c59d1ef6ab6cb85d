#include "DC.h"

void CDC::GetRect(RECT* rect) {
    if (!hwnd || !GetClientRect(hwnd, rect)) SetRectEmpty(rect);
}

CPaintDC::CPaintDC(HWND window) : CDC(window, nullptr) {
    hdc = BeginPaint(window, &paint);
}

CPaintDC::~CPaintDC() {
    EndPaint(hwnd, &paint);
}

CPrintDC::~CPrintDC() {
    if (hdc) DeleteDC(hdc);
}

void CPrintDC::GetRect(RECT* rect) {
    SetRect(rect, 0, 0, GetDeviceCaps(hdc, HORZRES), GetDeviceCaps(hdc, VERTRES));
}
