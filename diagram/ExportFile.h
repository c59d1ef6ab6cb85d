#pragma once
// What the export of a diagram writes and where: the kinds of file it offers
// (the printed page as a PNG picture or an EMF drawing, the evaluation points
// as CSV), the folder and name its file dialog proposes, and the CSV itself.
// The page pictures are drawn by DiagExport on the window side.
#include <string>

struct DiagramState;

enum class ExportKind { PagePng, PageEmf, PointsCsv };

struct ExportType {
    ExportKind kind;
    int filterText;          // string id of the file dialog's type text
    const wchar_t* extension;  // without the dot
};

// The types in the order the file dialog lists them.
const ExportType* ExportTypes();
int ExportTypeCount();
// The row of a kind; the kind of a path by its extension (any case), false
// for none of them.
const ExportType& ExportTypeOf(ExportKind kind);
bool ExportKindOfPath(const std::wstring& path, ExportKind& kind);

// What the file dialog proposes: the folder of the last export
// (Desktop/LastExport), else the folder of the first measurement; the first
// measurement's name with the extension of the type exported last (the
// first type when there is none); and that type.
struct ExportProposal {
    std::wstring folder;  // empty: the dialog chooses
    std::wstring name;
    ExportKind kind = ExportKind::PagePng;
};
ExportProposal ProposeExport(const std::wstring& lastExport, const std::wstring& firstMeasurement);

// The path as chosen, with the kind's extension added unless it ends in it
// already (any case).
std::wstring WithExportExtension(const std::wstring& path, ExportKind kind);

// The last part of a path, after its last backslash or slash.
std::wstring FileNameOf(const std::wstring& path);

// Every evaluation point of every measurement of the diagram, one row each,
// with the file name in the first column, for German spreadsheets:
// semicolons, decimal commas, UTF-8 with a byte-order mark, CR LF line ends.
// The measurements are evaluated with the diagram's options first.
std::string PointTableFile(DiagramState& d);
