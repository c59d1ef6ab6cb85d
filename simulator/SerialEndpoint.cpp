#include "SerialEndpoint.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

// raw bytes at 9600 baud, 8 data bits, no parity, one stop bit
bool makeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

SerialEndpoint::~SerialEndpoint() {
    if (!link_.empty()) {
        // remove the link only while it still points at our device
        char target[4096];
        const ssize_t n = readlink(link_.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, n) == device_) unlink(link_.c_str());
    }
    if (slaveKeeper_ >= 0) close(slaveKeeper_);
    if (fd_ >= 0) close(fd_);
}

bool SerialEndpoint::openPort(const std::string& path, std::string& error) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        error = systemError(path);
        return false;
    }
    if (isatty(fd_) && !makeRaw(fd_)) {
        error = systemError(path);
        return false;
    }
    device_ = path;
    return true;
}

bool SerialEndpoint::createPty(const std::string& link, std::string& error) {
    fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0 || grantpt(fd_) != 0 || unlockpt(fd_) != 0) {
        error = systemError("Pseudo-Terminal");
        return false;
    }
    const char* name = ptsname(fd_);
    if (!name) {
        error = systemError("Pseudo-Terminal");
        return false;
    }
    device_ = name;
    slaveKeeper_ = open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slaveKeeper_ < 0 || !makeRaw(slaveKeeper_)) {
        error = systemError(device_);
        return false;
    }
    struct stat info{};
    if (lstat(link.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            error = link + ": vorhanden und keine symbolische Verknüpfung";
            return false;
        }
        unlink(link.c_str());
    }
    if (symlink(device_.c_str(), link.c_str()) != 0) {
        error = systemError(link);
        return false;
    }
    link_ = link;
    return true;
}

size_t SerialEndpoint::write(const uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;  // the line is full or gone: these bytes are lost, as on a real line
        }
    }
    return size - done;
}

size_t SerialEndpoint::read(uint8_t* buffer, size_t size) {
    const ssize_t n = ::read(fd_, buffer, size);
    return n > 0 ? static_cast<size_t>(n) : 0;
}

void SerialEndpoint::wait(int milliseconds) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, milliseconds) > 0 && (p.revents & (POLLHUP | POLLERR)) && !(p.revents & POLLIN)) {
        // nobody at the other end: do not spin
        usleep(static_cast<useconds_t>(milliseconds) * 1000);
    }
}
