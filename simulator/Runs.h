#pragma once
// The two ways dynosim runs: on a serial line in real time (scaled), or
// without a line as fast as it can, with the program's side simulated.
#include <csignal>
#include <cstdio>

#include "SerialEndpoint.h"
#include "SimOptions.h"

// Set by the signal handler: end the run, clean up, exit.
extern volatile std::sig_atomic_t gStopRequested;

// Both return the exit status; progress goes to `log` unless quiet.
int runOnLine(const DynosimOptions& options, SerialEndpoint& line, std::FILE* log);
int runWithoutLine(const DynosimOptions& options, std::FILE* log);
