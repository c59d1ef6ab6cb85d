// kxm report in kxm.exe: the printed page of up to seven measurement files,
// drawn by the diagram's own page drawing off the screen, as a PNG picture
// (A4 at 300 dpi) or an EMF drawing, for batch work and archives.
#include <cstdio>
#include <string>
#include <vector>

#include "Diag.h"
#include "DiagExport.h"
#include "DiagramState.h"
#include "FileIo.h"
#include "Kxm.h"
#include "KxmSetup.h"
#include "Settings.h"
#include "StringTable.h"
#include "Utf8.h"
#include "resource.h"

namespace {

const char* kUsage =
    "kxm report FILE... -o OUT.png|OUT.emf [--ini PATH] [--view N] [--power-mode 0|1] [--correction 0|1|2]\n"
    "           [--loss-time S] [--smoothing 0|1|2] [--headline TEXT]";

// The views of the keys F1 to F5.
const int kViews[] = {1551, 1550, 1549, 1546, 1555};

}  // namespace

int runReport(const Args& args) {
    std::wstring out, headline;
    bool haveHeadline = false;
    int view = 1;
    Args rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == L"-o" && hasValue && !args[i + 1].empty()) {
            out = args[++i];
        } else if (a == L"--view" && hasValue && args[i + 1].size() == 1 && args[i + 1][0] >= L'1' &&
                   args[i + 1][0] <= L'5') {
            view = args[++i][0] - L'0';
        } else if (a == L"--headline" && hasValue) {
            headline = args[++i];
            haveHeadline = true;
        } else {
            rest.push_back(a);
        }
    }
    EvalSetup setup;
    if (int status = parseSetup(rest, kUsage, kSetupManyFiles, setup)) return status;
    ExportKind kind;
    if (out.empty() || setup.paths.empty() || setup.paths.size() > 7 || !ExportKindOfPath(out, kind) ||
        kind == ExportKind::PointsCsv)
        return usageError(kUsage);

    // the page takes its margins, fonts, headline and date format from the settings
    Settings& s = theSettings();
    s = setup.settings;
    if (haveHeadline) s.pageHeadline = headline;
    CDiag diag(setup.options);
    for (const std::wstring& path : setup.paths)
        if (diag.d.AddFile(path) == AddResult::BadFormat) return fileFormatError(path);
    int32_t x = 0, y = 0;
    QuickView(kViews[view - 1], s.graphPowerUnit, x, y);
    diag.d.SetQuantities(x, y);

    std::string bytes;
    if (!MakeExport(diag, kind, bytes) || !replaceFileContents(out, bytes)) {
        std::fprintf(stderr, "%s: %s\n", toUtf8(portableText(IDS_NOT_SAVED)).c_str(), toUtf8(out).c_str());
        return 2;
    }
    return 0;
}
