#pragma once
// The command line of the evaluating subcommands (eval, export, report): the
// files, an INI file for the settings, and the evaluation options that
// override the settings' own.
#include <string>
#include <vector>

#include "EvaluationOptions.h"
#include "Kxm.h"
#include "Settings.h"

// Everything an evaluation needs, as the command line and the INI file give
// it. The options refer to the choice lists of `settings`: use it in place.
struct EvalSetup {
    std::vector<std::wstring> paths;  // the files named, in order
    Settings settings;                // calibration, wheel, page and the option defaults
    EvaluationOptions options;
    bool csv = false;
    bool german = false;
};

enum SetupFlags { kSetupExport = 1, kSetupManyFiles = 2 };

// Reads --power-mode, --correction, --loss-time, --smoothing and --ini (and
// with kSetupExport --csv and --de), and one file, or several with
// kSetupManyFiles. 0 when understood; otherwise the exit status, after the
// usage or the message about the INI file.
int parseSetup(const Args& args, const char* usage, int flags, EvalSetup& setup);

// The settings of an INI file (none: the defaults), completed as the program
// completes them. 0 when read; otherwise 2, after the message.
int loadIniSettings(const std::wstring& ini, Settings& settings);
