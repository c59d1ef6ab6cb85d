#pragma once
// The two operations of the controller link that the options need: after the
// options dialog the link is closed and opened again on Hardware/ComPort,
// which the dialog may just have changed.
#include <cstdint>

void closeSerialLink();
void openSerialLink(int16_t port);

// The port the link was last opened on by openSerialLink, 0 after
// closeSerialLink.
int16_t serialLinkPort();
