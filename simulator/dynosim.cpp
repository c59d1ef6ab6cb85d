// dynosim: plays the dynamometer's controller, with a vehicle on the roller
// and a driver, on a serial device or pseudo-terminal, or writes the run as a
// measurement file without any line.
#include <csignal>
#include <cstdio>
#include <string>

#include "Runs.h"

namespace {

void requestStop(int) { gStopRequested = 1; }

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    DynosimOptions options;
    std::string error;
    if (!parseDynosimOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "dynosim: %s\n(dynosim --help zeigt alle Optionen)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(dynosimHelp(), stdout);
        return 0;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGHUP, requestStop);
    std::signal(SIGPIPE, SIG_IGN);

    // progress goes to standard error while standard output carries the bytes
    std::FILE* log = options.rawPath == "-" ? stderr : stdout;
    if (options.port.empty() && options.ptyLink.empty()) return runWithoutLine(options, log);

    SerialEndpoint line;
    const bool opened = options.port.empty() ? line.createPty(options.ptyLink, error)
                                             : line.openPort(options.port, error);
    if (!opened) {
        std::fprintf(stderr, "dynosim: %s\n", error.c_str());
        return 1;
    }
    if (!options.ptyLink.empty())
        std::fprintf(log, "dynosim: Pseudo-Terminal %s, Verknüpfung %s\n", line.devicePath().c_str(),
                     options.ptyLink.c_str());
    else
        std::fprintf(log, "dynosim: auf %s\n", line.devicePath().c_str());
    return runOnLine(options, line, log);
}
