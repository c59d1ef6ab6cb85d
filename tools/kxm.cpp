// kxm: the command-line companion of Kaltrenox for workshops and scripts.
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "KaltrenoxVersion.h"
#include "Kxm.h"

#include "StringTable.h"
#include "Utf8.h"
#include "resource.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const Args&);
    const char* summary;
};

const Command kCommands[] = {
    {"info", runInfo,
     "kxm info FILE [--samples] [--ini PATH] [--wheel M]\n"
     "                                   Kopfdaten (und Meßwerte) als JSON"},
    {"convert", runConvert,
     "kxm convert IN OUT [--ini PATH] [--wheel M]\n"
     "                                   Datei lesen und neu schreiben (Version 11/12)"},
    {"eval", runEval, "kxm eval FILE [OPTIONEN]         Maxima, Verlustpunkt und Korrekturfaktor als JSON"},
    {"export", runExport,
     "kxm export FILE [OPTIONEN] [--csv] [--de]\n"
     "                                   eine Zeile je Auswertepunkt (Tabulator; CSV; --de: Semikolon, Dezimalkomma)"},
    {"report", runReport,
     "kxm report FILE... -o OUT.png|OUT.emf [OPTIONEN] [--view N] [--headline TEXT]\n"
     "                                   Druckseite von bis zu sieben Dateien als Bild (nur kxm.exe)"},
    {"record", runRecord,
     "kxm record CAPTURE|- -o OUT.kxm [--device N] [--period S] [--start-mode rpm|kmh] [--start-value N]\n"
     "             [--fixed-gear G] [--recorded-at UNIXZEIT] [--comment TEXT] [--ini PATH]\n"
     "                                   Mitschnitt wie nach \"Start\" aufzeichnen und als Meßdatei schreiben"},
    {"decode", runDecode,
     "kxm decode [FILE|-] [--device N] [--state idle|waiting|recording] [--pulse-count N]\n"
     "             [--relation N] [--weather-auto 0|1] [--wheel M]\n"
     "                                   Mitschnitt der Steuerung dekodieren, ein JSON-Objekt je Rahmen"},
};

int usage() {
    std::fprintf(stderr, "Aufruf:\n  kxm --version                    Version des Werkzeugs\n");
    for (const Command& c : kCommands) std::fprintf(stderr, "  %s\n", c.summary);
    std::fprintf(stderr, "OPTIONEN: [--power-mode 0|1] [--correction 0|1|2] [--loss-time S] [--smoothing 0|1|2] [--ini PATH]\n");
    return 2;
}

int dispatch(const Args& all) {
    if (all.empty()) return usage();
    const std::string name = toUtf8(all[0]);
    if (name == "--version") {
        printLine("kxm " KX_VERSION_TEXT);
        return 0;
    }
    for (const Command& c : kCommands)
        if (name == c.name) return c.run(Args(all.begin() + 1, all.end()));
    return usage();
}

}  // namespace

int usageError(const char* text) {
    std::fprintf(stderr, "Aufruf: %s\n", text);
    return 2;
}

int fileFormatError(const std::wstring& path) {
    std::fprintf(stderr, "%s: %s\n", toUtf8(portableText(IDS_WRONG_FORMAT)).c_str(), toUtf8(path).c_str());
    return 2;
}

bool parseInteger(const std::wstring& text, long long low, long long high, int& out) {
    if (text.empty() || text.size() > 11) return false;
    const size_t first = text[0] == L'-' ? 1 : 0;
    if (first == text.size()) return false;
    long long value = 0;
    for (size_t k = first; k < text.size(); ++k) {
        if (text[k] < L'0' || text[k] > L'9') return false;
        value = value * 10 + (text[k] - L'0');
    }
    if (first) value = -value;
    if (value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

void printLine(const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    // UTF-8 bytes go out unchanged; line ends stay "\n" for scripts.
    _setmode(_fileno(stdout), _O_BINARY);
    Args args;
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    return dispatch(args);
}
#else
int main(int argc, char** argv) {
    Args args;
    for (int i = 1; i < argc; ++i) args.push_back(fromUtf8(argv[i]));
    return dispatch(args);
}
#endif
