#pragma once
// Device-context wrappers: the screen paint context, the printer context and
// (in instruments/) the memory context all answer GetRect and GetKind, so a
// drawing routine can serve screen, page view and printer alike.
#include <windows.h>

#include <cstdint>

enum DCKind { kScreenDC = 0, kPrinterDC = 1, kMemoryDC = 2 };

class CDC {
public:
    CDC(HWND window, HDC dc) : hwnd(window), hdc(dc) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // The drawing area: the client rectangle here.
    virtual void GetRect(RECT* rect);
    virtual int GetKind() { return kScreenDC; }
    virtual ~CDC() = default;

    HWND hwnd;
    HDC hdc;
};

// BeginPaint on construction, EndPaint on destruction.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND window);
    ~CPaintDC() override;

    PAINTSTRUCT paint{};
};

// A printer page: the owner window and the printer's context, which it deletes.
class CPrintDC : public CDC {
public:
    CPrintDC(HWND owner, HDC printerDc) : CDC(owner, printerDc) {}
    ~CPrintDC() override;

    // (0, 0, printable width, printable height) in device pixels.
    void GetRect(RECT* rect) override;
    int GetKind() override { return kPrinterDC; }

    uint16_t flags = 0;
};
