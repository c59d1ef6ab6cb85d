#pragma once
// The export command (1600) of a diagram: a file dialog with the export
// types, then the file, written whole or not at all. A file that cannot be
// written is reported in a message box captioned with its path.
#include <windows.h>

#include <string>

#include "ExportFile.h"

class CDiag;

// Whether this build can make files of the kind (the file dialog offers
// only those).
bool CanExport(ExportKind kind);

// The bytes of one export of the diagram; false when they cannot be made.
bool MakeExport(CDiag& diag, ExportKind kind, std::string& bytes);

// Writes the export of `kind` to `path`; on failure the old file, if any,
// stays as it was and nothing else is left behind.
bool WriteExport(CDiag& diag, ExportKind kind, const std::wstring& path);

// The command: nothing for an empty diagram; otherwise the file dialog
// proposing the first measurement's name in the folder of the last export,
// the file, and Desktop/LastExport on success.
void ExportDiagram(CDiag& diag);
