// The name and folder the measurement file dialog proposes.
#include <gtest/gtest.h>

#include "ProposedFile.h"

TEST(ProposedFile, FolderAndNameOfTheLastFileWithTheNumberAdvanced) {
    const struct {
        const wchar_t* lastFile;
        bool advance;
        const wchar_t* folder;
        const wchar_t* name;
    } cases[] = {
        {L"*.kxm", false, L"", L"*.kxm"},  // the default: no folder
        {L"*.kxm", true, L"", L"*.kxm"},
        {L"C:\\Pruef\\run3.kxm", true, L"C:\\Pruef", L"run4.kxm"},
        {L"C:\\Pruef\\run3.kxm", false, L"C:\\Pruef", L"run3.kxm"},
        {L"C:\\Pruef\\run0.kxm", true, L"C:\\Pruef", L"run1.kxm"},
        {L"C:\\Pruef\\run8.kxm", true, L"C:\\Pruef", L"run9.kxm"},
        {L"C:\\Pruef\\run9.kxm", true, L"C:\\Pruef", L"run9.kxm"},  // no carry: 9 stays
        {L"C:\\Pruef\\run19.kxm", true, L"C:\\Pruef", L"run19.kxm"},
        {L"C:\\Pruef\\run.kxm", true, L"C:\\Pruef", L"run.kxm"},
        {L"C:\\Pruef\\7.kxm", true, L"C:\\Pruef", L"8.kxm"},
        {L"C:\\Pruef\\.kxm", true, L"C:\\Pruef", L".kxm"},  // the dot is the first character
        {L"C:\\Pruef\\run7", true, L"C:\\Pruef", L"run7"},   // no dot
        {L"C:\\Pruef\\run7.alt.kxm", true, L"C:\\Pruef", L"run7.alt.kxm"},  // the last dot counts
        {L"C:\\Lauf.1\\run5", true, L"C:\\Lauf.1", L"run5"},  // a dot in the folder does not
        {L"run5.kxm", true, L"", L"run6.kxm"},
        {L"C:\\Pruef\\", true, L"C:\\Pruef", L""},
        {L"C:\\run3.kxm", true, L"C:\\", L"run4.kxm"},  // the root, not the drive's current folder
        {L"\\\\server\\pruef\\run1.kxm", true, L"\\\\server\\pruef", L"run2.kxm"},
        {L"", true, L"", L""},
    };
    for (const auto& c : cases) {
        ProposedFile proposal = proposeMeasurementFile(c.lastFile, c.advance);
        EXPECT_EQ(proposal.folder, c.folder) << "last file " << testing::PrintToString(std::wstring(c.lastFile))
                                             << (c.advance ? " advanced" : "");
        EXPECT_EQ(proposal.name, c.name) << "last file " << testing::PrintToString(std::wstring(c.lastFile))
                                         << (c.advance ? " advanced" : "");
    }
}
