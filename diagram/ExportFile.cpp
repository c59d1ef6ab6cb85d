#include "ExportFile.h"

#include <cwctype>

#include "DiagramState.h"
#include "PointTable.h"

namespace {

const ExportType kTypes[] = {
    {ExportKind::PagePng, 40165, L"png"},    // "Druckseite als PNG-Bild (*.png)"
    {ExportKind::PageEmf, 40166, L"emf"},    // "Druckseite als EMF-Grafik (*.emf)"
    {ExportKind::PointsCsv, 40167, L"csv"},  // "Meßpunkte als CSV (*.csv)"
};
constexpr int kTypeCount = int(sizeof kTypes / sizeof kTypes[0]);

size_t LastSeparator(const std::wstring& path) { return path.find_last_of(L"\\/"); }

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = wchar_t(std::towlower(c));
    return text;
}

// The extension of the last part of the path, without the dot; empty for none.
std::wstring ExtensionOf(const std::wstring& path) {
    const std::wstring name = FileNameOf(path);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? std::wstring() : Lower(name.substr(dot + 1));
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = LastSeparator(path);
    if (slash == std::wstring::npos) return std::wstring();
    std::wstring folder = path.substr(0, slash);
    // "C:" alone would mean the drive's current folder, not its root
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

}  // namespace

const ExportType* ExportTypes() { return kTypes; }
int ExportTypeCount() { return kTypeCount; }

const ExportType& ExportTypeOf(ExportKind kind) {
    for (const ExportType& t : kTypes)
        if (t.kind == kind) return t;
    return kTypes[0];
}

bool ExportKindOfPath(const std::wstring& path, ExportKind& kind) {
    const std::wstring extension = ExtensionOf(path);
    for (const ExportType& t : kTypes) {
        if (extension == t.extension) {
            kind = t.kind;
            return true;
        }
    }
    return false;
}

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = LastSeparator(path);
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

ExportProposal ProposeExport(const std::wstring& lastExport, const std::wstring& firstMeasurement) {
    ExportProposal proposal;
    proposal.kind = kTypes[0].kind;
    ExportKind last;
    if (ExportKindOfPath(lastExport, last)) proposal.kind = last;
    proposal.folder = FolderOf(lastExport);
    if (proposal.folder.empty()) proposal.folder = FolderOf(firstMeasurement);

    std::wstring name = FileNameOf(firstMeasurement);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0) name.erase(dot);
    if (!name.empty()) proposal.name = name + L"." + ExportTypeOf(proposal.kind).extension;
    return proposal;
}

std::wstring WithExportExtension(const std::wstring& path, ExportKind kind) {
    if (ExtensionOf(path) == ExportTypeOf(kind).extension) return path;
    return path + L"." + ExportTypeOf(kind).extension;
}

std::string PointTableFile(DiagramState& d) {
    const PointTableStyle style = pointTableStyle(true, true);
    std::string file = "\xEF\xBB\xBF";  // so that spreadsheets read UTF-8 and show the umlauts
    file += pointTableHeader(style, true) + "\r\n";
    for (int32_t i = 0; i < d.count; ++i) {
        Measurement& m = *d.measurements[i];
        d.cursor.evaluate(m);
        const std::wstring name = FileNameOf(m.fileName);
        for (const std::string& row : pointTableRows(d.cursor, m, style, &name)) file += row + "\r\n";
    }
    return file;
}
