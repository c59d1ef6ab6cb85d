#include "SerialLink.h"

#include <windows.h>

namespace {

// Queue sizes asked of the driver; the measurement dialog polls every
// 100 ms, far less than 1000 bytes arrive at 9600 baud in that time.
constexpr DWORD kInputQueue = 1000;
constexpr DWORD kOutputQueue = 1000;

// A read returns at once with what is queued, or waits at most 5 ms for one
// byte; a write of n bytes gets 10 + 2n ms.
constexpr COMMTIMEOUTS kTimeouts = {MAXDWORD, MAXDWORD, 5, 2, 10};

// A controller that streams without a 5 ms pause (a full 9600-baud line
// brings a byte every millisecond) would keep one drain reading for as long
// as it streams, and the measurement dialog, whose timer drains, would
// freeze. A drain therefore ends once it has read for 20 ms; what arrives
// later waits in the driver's queue for the next tick.
constexpr DWORD kDrainBudgetMs = 20;

HANDLE asHandle(void* handle) { return static_cast<HANDLE>(handle); }

}  // namespace

std::wstring SerialLink::deviceName(int16_t port) {
    wchar_t name[32];
    wsprintfW(name, L"\\\\.\\COM%d", static_cast<int>(port));
    return name;
}

bool SerialLink::isOpen() const { return asHandle(handle_) != INVALID_HANDLE_VALUE; }

void SerialLink::open(int16_t port) {
    close();
    wantedPort_ = port;
    openPort(port);
}

bool SerialLink::openPort(int16_t port) {
    lastTry_ = GetTickCount();
    const std::wstring name = deviceName(port);
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;

    bool configured = SetupComm(handle, kInputQueue, kOutputQueue);
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    configured = configured && GetCommState(handle, &dcb);
    if (configured) {
        // flow control and the special characters stay as the driver has them
        dcb.BaudRate = 9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        configured = SetCommState(handle, &dcb);
    }
    COMMTIMEOUTS timeouts = kTimeouts;
    configured = configured && SetCommTimeouts(handle, &timeouts);
    if (!configured) {
        CloseHandle(handle);
        return false;
    }
    handle_ = handle;
    ++openings_;
    return true;
}

void SerialLink::close() {
    wantedPort_ = 0;
    if (!isOpen()) return;
    CloseHandle(asHandle(handle_));
    handle_ = INVALID_HANDLE_VALUE;
}

// The device behind the handle is gone; the port stays wanted.
void SerialLink::lose() {
    CloseHandle(asHandle(handle_));
    handle_ = INVALID_HANDLE_VALUE;
    lastTry_ = GetTickCount();
}

bool SerialLink::writeByte(uint8_t byte) {
    if (!isOpen()) return false;
    DWORD written = 0;
    // a write that timed out answers TRUE with nothing written; only a
    // failing call means the device is gone
    if (!WriteFile(asHandle(handle_), &byte, 1, &written, nullptr)) {
        lose();
        return false;
    }
    return written == 1;
}

void SerialLink::drain(ByteConsumer& consumer) {
    if (lost() && GetTickCount() - lastTry_ >= kRetryMs) openPort(wantedPort_);
    if (!isOpen()) return;
    const DWORD start = GetTickCount();
    for (;;) {
        // a framing, overrun or parity error ends this drain; clearing the
        // flags lets the next one read on, and the decoder resynchronises
        DWORD errors = 0;
        if (!ClearCommError(asHandle(handle_), &errors, nullptr)) {
            lose();
            return;
        }
        if (errors != 0) return;
        uint8_t byte = 0;
        DWORD got = 0;
        if (!ReadFile(asHandle(handle_), &byte, 1, &got, nullptr) || got == 0) return;
        const DWORD now = GetTickCount();
        receiveDeadline_ = now + 1000;
        consumer.feedByte(byte);
        if (now - start >= kDrainBudgetMs) return;
    }
}

SerialLink& theSerialLink() {
    static SerialLink link;
    return link;
}
