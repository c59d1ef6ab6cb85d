#include "SerialReopen.h"

// Stand-in until the serial link is part of this build: it only remembers
// which port the link would be open on. Replace the bodies by
// theSerialLink().close() and theSerialLink().open(port).
namespace {

int16_t openPort = 0;

}  // namespace

void closeSerialLink() {
    openPort = 0;
}

void openSerialLink(int16_t port) {
    openPort = port;
}

int16_t serialLinkPort() {
    return openPort;
}
