#include "KxmSetup.h"

#include <cstdio>

#include "IniFileStore.h"
#include "NumberText.h"
#include "StringTable.h"
#include "Utf8.h"

namespace {

bool isChoice(const std::wstring& text, wchar_t last) {
    return text.size() == 1 && text[0] >= L'0' && text[0] <= last;
}

// Seconds as plain decimal text ("3", "2.5"); nothing else is taken.
bool parseSeconds(const std::wstring& text, double& seconds) {
    int digits = 0, points = 0;
    for (wchar_t c : text) {
        if (c >= L'0' && c <= L'9')
            ++digits;
        else if (c == L'.')
            ++points;
        else
            return false;
    }
    if (digits == 0 || points > 1) return false;
    seconds = parseDouble(text);
    return true;
}

}  // namespace

int parseSetup(const Args& args, const char* usage, int flags, EvalSetup& setup) {
    const bool exportFlags = (flags & kSetupExport) != 0;
    std::wstring ini, powerMode, correction, smoothing;
    double lossTime = 0;
    bool haveLossTime = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == L"--power-mode" && hasValue && isChoice(args[i + 1], L'1')) {
            powerMode = args[++i];
        } else if (a == L"--correction" && hasValue && isChoice(args[i + 1], L'2')) {
            correction = args[++i];
        } else if (a == L"--smoothing" && hasValue && isChoice(args[i + 1], L'2')) {
            smoothing = args[++i];
        } else if (a == L"--loss-time" && hasValue && parseSeconds(args[i + 1], lossTime)) {
            haveLossTime = true;
            ++i;
        } else if (a == L"--ini" && hasValue && !args[i + 1].empty()) {
            ini = args[++i];
        } else if (exportFlags && a == L"--csv") {
            setup.csv = true;
        } else if (exportFlags && a == L"--de") {
            setup.german = true;
        } else if ((setup.paths.empty() || (flags & kSetupManyFiles)) && !a.empty() && a[0] != L'-') {
            setup.paths.push_back(a);
        } else {
            return usageError(usage);
        }
    }
    if (setup.paths.empty()) return usageError(usage);

    if (int status = loadIniSettings(ini, setup.settings)) return status;
    setup.options = evaluationOptionsFromSettings(setup.settings);
    if (!powerMode.empty()) setup.options.powerMode = uint16_t(powerMode[0] - L'0');
    if (!correction.empty()) setup.options.correction = uint16_t(correction[0] - L'0');
    if (haveLossTime) setup.options.lossTime = lossTime;
    if (!smoothing.empty()) setup.options.smoothing = uint16_t(smoothing[0] - L'0');
    return 0;
}


int loadIniSettings(const std::wstring& ini, Settings& settings) {
    if (!ini.empty()) {
        IniFileStore store(toUtf8(ini));
        if (!store.wasRead()) {
            std::fprintf(stderr, "Datei kann nicht gelesen werden: %s\n", toUtf8(ini).c_str());
            return 2;
        }
        loadSettings(settings, store);
    }
    completeLoadedSettings(settings, portableText);
    return 0;
}
