#include "DiagExport.h"

#include "CommonDialogs.h"
#include "Diag.h"
#include "FileIo.h"
#include "Settings.h"
#include "TextBuffers.h"
#include "resource.h"

namespace {

// the program's current folder stays where it was
constexpr DWORD kExportFlags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

// The dialog's types, in table order, that this build can write.
struct OfferedTypes {
    std::wstring filter;  // "text\0*.ext\0...\0"
    ExportKind kinds[3];
    int count = 0;
};

OfferedTypes Offered() {
    OfferedTypes offered;
    for (int i = 0; i < ExportTypeCount(); ++i) {
        const ExportType& t = ExportTypes()[i];
        if (!CanExport(t.kind) || offered.count == 3) continue;
        offered.filter += LoadText(t.filterText);
        offered.filter += L'\0';
        offered.filter += std::wstring(L"*.") + t.extension;
        offered.filter += L'\0';
        offered.kinds[offered.count++] = t.kind;
    }
    return offered;
}

class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }

private:
    HCURSOR previous_;
};

}  // namespace

bool CanExport(ExportKind kind) { return kind == ExportKind::PointsCsv; }

bool MakeExport(CDiag& diag, ExportKind kind, std::string& bytes) {
    switch (kind) {
    case ExportKind::PointsCsv:
        bytes = PointTableFile(diag.d);
        return true;
    default:
        return false;
    }
}

bool WriteExport(CDiag& diag, ExportKind kind, const std::wstring& path) {
    std::string bytes;
    WaitCursor wait;
    return MakeExport(diag, kind, bytes) && replaceFileContents(path, bytes);
}

void ExportDiagram(CDiag& diag) {
    if (diag.d.count == 0) return;
    HWND owner = GetParent(diag.hwnd) ? GetParent(diag.hwnd) : diag.hwnd;
    Settings& s = theSettings();
    const OfferedTypes offered = Offered();
    if (offered.count == 0) return;

    ExportProposal proposal = ProposeExport(s.desktopLastExport, diag.d.measurements[0]->fileName);
    int filterIndex = 1;
    for (int i = 0; i < offered.count; ++i)
        if (offered.kinds[i] == proposal.kind) filterIndex = i + 1;
    ExportKind kind = offered.kinds[filterIndex - 1];
    ExportKind named;
    if (ExportKindOfPath(proposal.name, named) && named != kind) {
        const size_t dot = proposal.name.rfind(L'.');
        proposal.name = proposal.name.substr(0, dot + 1) + ExportTypeOf(kind).extension;
    }

    wchar_t path[CFileDlg::kPathSize] = {};
    lstrcpynW(path, proposal.name.c_str(), CFileDlg::kPathSize);
    CFileDlg dialog(path, owner);
    dialog.record.lpstrFilter = offered.filter.c_str();
    dialog.record.nFilterIndex = DWORD(filterIndex);
    dialog.record.lpstrDefExt = ExportTypeOf(kind).extension;
    dialog.record.lpstrInitialDir = proposal.folder.empty() ? nullptr : proposal.folder.c_str();
    dialog.record.Flags = kExportFlags;
    if (dialog.RunSave() != 1) return;

    // the type chosen in the list, unless the name itself says another one
    const DWORD chosen = dialog.record.nFilterIndex;
    if (chosen >= 1 && int(chosen) <= offered.count) kind = offered.kinds[chosen - 1];
    if (ExportKindOfPath(path, named) && CanExport(named)) kind = named;
    const std::wstring file = WithExportExtension(path, kind);

    if (!WriteExport(diag, kind, file)) {
        MessageBoxW(owner, LoadText(IDS_NOT_SAVED), file.c_str(), MB_OK | MB_ICONERROR);
        return;
    }
    s.desktopLastExport = file;
}
