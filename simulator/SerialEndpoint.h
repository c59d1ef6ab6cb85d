#pragma once
// The simulator's end of the serial line on Linux: an existing device or
// pseudo-terminal end (--port), or a pseudo-terminal of its own (--pty)
// with a symbolic link to its device. Raw, 9600 baud, 8N1, non-blocking:
// like a real controller it keeps sending whether anyone listens or not.
#include <cstddef>
#include <cstdint>
#include <string>

class SerialEndpoint {
public:
    SerialEndpoint() = default;
    ~SerialEndpoint();
    SerialEndpoint(const SerialEndpoint&) = delete;
    SerialEndpoint& operator=(const SerialEndpoint&) = delete;

    bool openPort(const std::string& path, std::string& error);
    // Replaces an existing symbolic link at `link`, never another file.
    bool createPty(const std::string& link, std::string& error);

    // Writes what the line takes now; returns the number of bytes dropped.
    size_t write(const uint8_t* data, size_t size);
    // Reads what has arrived; 0 when nothing.
    size_t read(uint8_t* buffer, size_t size);
    // Waits up to `milliseconds` for input.
    void wait(int milliseconds);

    const std::string& devicePath() const { return device_; }

private:
    int fd_ = -1;
    int slaveKeeper_ = -1;  // keeps our pseudo-terminal alive while no one has it open
    std::string device_;
    std::string link_;
};
