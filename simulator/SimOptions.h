#pragma once
// The command line of dynosim.
#include <string>
#include <vector>

#include "RecordingOperator.h"
#include "Simulation.h"

struct DynosimOptions {
    SimulationParameters simulation;
    RecordingParameters recording;
    std::string port;      // --port: an existing serial device or pseudo-terminal end
    std::string ptyLink;   // --pty: link to a pseudo-terminal of our own
    std::string kxmPath;   // --write-kxm
    std::string rawPath;   // --write-raw
    int cycles = -1;       // -1: no limit given
    double duration = -1;  // simulated seconds; -1: no limit given
    double timeScale = 1;
    bool quiet = false;
    bool help = false;
};

// False with a message in `error` for an unknown option or a bad value.
bool parseDynosimOptions(int argc, char** argv, DynosimOptions& options, std::string& error);
const char* dynosimHelp();
// Every option's name, for checking the help text.
std::vector<std::string> dynosimOptionNames();
