#pragma once
// What the measurement file dialog proposes, from Desktop/LastFile: the
// folder of the last file and its name, or with the advance the next number
// (run7.kxm becomes run8.kxm; run9.kxm and run.kxm stay as they are).
#include <string>

struct ProposedFile {
    std::wstring folder;  // empty: the dialog chooses (no initial folder)
    std::wstring name;
};

ProposedFile proposeMeasurementFile(const std::wstring& lastFile, bool advance);
