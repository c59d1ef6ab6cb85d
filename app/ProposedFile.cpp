#include "ProposedFile.h"

ProposedFile proposeMeasurementFile(const std::wstring& lastFile, bool advance) {
    ProposedFile proposal;
    const size_t slash = lastFile.rfind(L'\\');
    if (slash == std::wstring::npos) {
        proposal.name = lastFile;
    } else {
        proposal.folder = lastFile.substr(0, slash);
        proposal.name = lastFile.substr(slash + 1);
        // "C:" alone would mean the drive's current folder, not its root
        if (proposal.folder.size() == 2 && proposal.folder[1] == L':') proposal.folder += L'\\';
    }
    if (advance) {
        const size_t dot = proposal.name.rfind(L'.');
        if (dot != std::wstring::npos && dot > 0) {
            wchar_t& digit = proposal.name[dot - 1];
            if (digit >= L'0' && digit <= L'8') ++digit;
        }
    }
    return proposal;
}
