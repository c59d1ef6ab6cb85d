// How long the serial link's drain takes under Wine on a pseudo-terminal:
// an empty drain (one read that times out) and a drain of 300 queued bytes.
// Not a test: run it with a loop pair mapped, for example
//   scripts/serial-port.sh loop 20 21
//   wine build/windows/bin/serial_drain_bench.exe 20 21
//   scripts/serial-port.sh stop 20
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "SerialLink.h"

namespace {

struct Count : ByteConsumer {
    int bytes = 0;
    void feedByte(uint8_t) override { ++bytes; }
};

double milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return 1000.0 * (to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

void report(const char* what, std::vector<double>& samples) {
    std::sort(samples.begin(), samples.end());
    std::printf("%-28s median %6.2f ms  max %6.2f ms  (%zu runs)\n", what, samples[samples.size() / 2],
                samples.back(), samples.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: serial_drain_bench COM-LESEN COM-SCHREIBEN\n");
        return 2;
    }
    SerialLink reader, writer;
    reader.open(static_cast<int16_t>(std::atoi(argv[1])));
    writer.open(static_cast<int16_t>(std::atoi(argv[2])));
    if (!reader.isOpen() || !writer.isOpen()) {
        std::fprintf(stderr, "Port kann nicht geöffnet werden\n");
        return 1;
    }
    LARGE_INTEGER frequency, from, to;
    QueryPerformanceFrequency(&frequency);
    Count count;
    reader.drain(count);
    std::vector<double> empty, full;
    for (int run = 0; run < 50; ++run) {
        QueryPerformanceCounter(&from);
        reader.drain(count);
        QueryPerformanceCounter(&to);
        empty.push_back(milliseconds(from, to, frequency));
    }
    for (int run = 0; run < 10; ++run) {
        for (int i = 0; i < 300; ++i) writer.writeByte(static_cast<uint8_t>(i));
        Sleep(200);
        count.bytes = 0;
        QueryPerformanceCounter(&from);
        reader.drain(count);
        QueryPerformanceCounter(&to);
        full.push_back(milliseconds(from, to, frequency));
        if (count.bytes != 300) std::printf("run %d: %d bytes\n", run, count.bytes);
    }
    report("empty drain", empty);
    report("drain of 300 queued bytes", full);
    return 0;
}
