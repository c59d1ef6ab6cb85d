#pragma once
// The one serial connection to the dynamometer controller (Windows build).
// Opened at start-up, closed and reopened after the Options dialog, closed
// at exit. It knows nothing of frames: it writes single command bytes and,
// when the measurement dialog's timer asks, drains every waiting byte into
// the decoder. There is no reader thread.
//
// A port that does not exist, is held by another program or refuses the
// configuration leaves the link not open, silently: it then delivers no
// bytes and drops what is written to it. The link keeps wanting the port it
// was asked to open: when the open fails, or later ClearCommError or
// WriteFile fails (whatever the code: an unplugged USB adapter, a vanished
// device; a read alone cannot tell, it just delivers nothing), the link
// closes the port and each drain tries to open it again, at most once a
// second, until it is back or the link is closed.
#include <cstdint>
#include <string>

#include "ControllerProtocol.h"

class SerialLink : public CommandWriter {
public:
    SerialLink() = default;
    ~SerialLink() override { close(); }
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Opens COM port `port` (Hardware/ComPort) at 9600 baud, 8N1, without
    // sharing; closes the link first if it is open.
    void open(int16_t port);
    // Closes the port if it is open; the link no longer wants any port.
    void close();
    bool isOpen() const;
    // A port is wanted but not open: it could not be opened or was lost.
    bool lost() const { return wantedPort_ != 0 && !isOpen(); }
    // The port the link wants (0: none).
    int16_t wantedPort() const { return wantedPort_; }
    // Successful openings so far; a change tells that a new line began.
    uint32_t openings() const { return openings_; }
    static constexpr uint32_t kRetryMs = 1000;

    // Writes exactly one byte synchronously; false when it failed or timed out.
    bool writeByte(uint8_t byte) override;

    // Hands every waiting byte to the consumer in arrival order. Stops at the
    // first empty read (at most 5 ms), at a line error, whose flags are
    // cleared so that the next call goes on with the queued bytes, or once
    // it has read for 20 ms while bytes keep coming. A lost link first tries
    // to open its port again, once a second has passed since the last try.
    void drain(ByteConsumer& consumer);

    // GetTickCount() + 1000 at the last received byte; the measurement dialog
    // sets it when it opens and lights its "Übertragung" lamp once it passes.
    uint32_t receiveDeadline() const { return receiveDeadline_; }
    void setReceiveDeadline(uint32_t ticks) { receiveDeadline_ = ticks; }

    // The Win32 device namespace name of a port: "\\.\COM12".
    static std::wstring deviceName(int16_t port);

    // The port's Win32 handle (a HANDLE), for diagnostics and tests.
    void* nativeHandle() const { return handle_; }

private:
    bool openPort(int16_t port);
    void lose();

    int16_t wantedPort_ = 0;
    uint32_t openings_ = 0;
    uint32_t lastTry_ = 0;
    void* handle_ = reinterpret_cast<void*>(static_cast<intptr_t>(-1));  // INVALID_HANDLE_VALUE
    uint32_t receiveDeadline_ = 0;
};

// The program-wide link.
SerialLink& theSerialLink();
