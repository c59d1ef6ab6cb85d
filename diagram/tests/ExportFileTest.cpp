// What the diagram's export proposes and writes without a window: the file
// types, the proposed folder and name, the extension of a typed name, and
// the CSV of a diagram's points.
#include <gtest/gtest.h>

#include <string>

#include "DiagramState.h"
#include "ExportFile.h"
#include "Settings.h"
#include "StringTable.h"
#include "SyntheticRuns.h"
#include "Utf8.h"

namespace {

std::string narrow(const std::wstring& w) { return toUtf8(w); }

}  // namespace

TEST(ExportFile, TypesInTheOrderOfTheFileDialog) {
    ASSERT_EQ(ExportTypeCount(), 3);
    const struct { ExportKind kind; const char* text; const char* extension; } rows[] = {
        {ExportKind::PagePng, "Druckseite als PNG-Bild (*.png)", "png"},
        {ExportKind::PageEmf, "Druckseite als EMF-Grafik (*.emf)", "emf"},
        {ExportKind::PointsCsv, "Meßpunkte als CSV (*.csv)", "csv"},
    };
    for (int i = 0; i < 3; ++i) {
        const ExportType& t = ExportTypes()[i];
        EXPECT_EQ(t.kind, rows[i].kind) << i;
        EXPECT_EQ(narrow(portableText(t.filterText)), rows[i].text) << i;
        EXPECT_EQ(narrow(t.extension), rows[i].extension) << i;
        EXPECT_EQ(&ExportTypeOf(t.kind), &t) << i;
    }
    const struct { const wchar_t* path; bool named; ExportKind kind; } paths[] = {
        {L"C:\\Messungen\\Kunde-0001.png", true, ExportKind::PagePng},
        {L"C:\\Messungen\\Kunde-0001.EMF", true, ExportKind::PageEmf},
        {L"Kunde.Csv", true, ExportKind::PointsCsv},
        {L"C:\\Messungen\\Kunde-0001.kxm", false, ExportKind::PagePng},
        {L"C:\\Mess.png\\Kunde", false, ExportKind::PagePng},  // a dot in a folder is no extension
        {L".csv", false, ExportKind::PagePng},
        {L"", false, ExportKind::PagePng},
    };
    for (const auto& p : paths) {
        ExportKind kind = ExportKind::PagePng;
        EXPECT_EQ(ExportKindOfPath(p.path, kind), p.named) << narrow(p.path);
        if (p.named) {
            EXPECT_EQ(kind, p.kind) << narrow(p.path);
        }
    }
}

TEST(ExportFile, ProposalFromTheLastExportAndTheFirstMeasurement) {
    const struct {
        const wchar_t* lastExport;
        const wchar_t* measurement;
        const char* folder;
        const char* name;
        ExportKind kind;
    } cases[] = {
        {L"", L"C:\\Messungen\\Kunde-0001.kxm", "C:\\Messungen", "Kunde-0001.png", ExportKind::PagePng},
        {L"D:\\Berichte\\alt.csv", L"C:\\Messungen\\Kunde-0001.kxm", "D:\\Berichte", "Kunde-0001.csv",
         ExportKind::PointsCsv},
        {L"D:\\Berichte\\alt.emf", L"C:\\Messungen\\Lauf.v2.kxm", "D:\\Berichte", "Lauf.v2.emf", ExportKind::PageEmf},
        {L"E:\\alt.txt", L"Kunde", "E:\\", "Kunde.png", ExportKind::PagePng},  // the drive's root, not its current folder
        {L"bericht.png", L"C:\\Kunde.kxm", "C:\\", "Kunde.png", ExportKind::PagePng},
        {L"", L"", "", "", ExportKind::PagePng},
    };
    for (const auto& c : cases) {
        const ExportProposal p = ProposeExport(c.lastExport, c.measurement);
        EXPECT_EQ(narrow(p.folder), c.folder) << narrow(c.lastExport) << " / " << narrow(c.measurement);
        EXPECT_EQ(narrow(p.name), c.name) << narrow(c.lastExport) << " / " << narrow(c.measurement);
        EXPECT_EQ(p.kind, c.kind) << narrow(c.lastExport);
    }
}

TEST(ExportFile, TypedNamesGetTheExtensionOfTheChosenType) {
    const struct { const wchar_t* typed; ExportKind kind; const char* path; } cases[] = {
        {L"C:\\Berichte\\Kunde", ExportKind::PointsCsv, "C:\\Berichte\\Kunde.csv"},
        {L"C:\\Berichte\\Kunde.CSV", ExportKind::PointsCsv, "C:\\Berichte\\Kunde.CSV"},
        {L"C:\\Berichte\\Kunde.png", ExportKind::PointsCsv, "C:\\Berichte\\Kunde.png.csv"},
        {L"C:\\Berichte\\Kunde.v2", ExportKind::PagePng, "C:\\Berichte\\Kunde.v2.png"},
        {L"C:\\Be.richte\\Kunde", ExportKind::PageEmf, "C:\\Be.richte\\Kunde.emf"},
    };
    for (const auto& c : cases) EXPECT_EQ(narrow(WithExportExtension(c.typed, c.kind)), c.path) << narrow(c.typed);
    EXPECT_EQ(narrow(FileNameOf(L"C:\\Messungen\\Kunde-0001.kxm")), "Kunde-0001.kxm");
    EXPECT_EQ(narrow(FileNameOf(L"/tmp/x/Kunde.kxm")), "Kunde.kxm");
    EXPECT_EQ(narrow(FileNameOf(L"Kunde.kxm")), "Kunde.kxm");
}

TEST(ExportFile, PointTableOfEveryMeasurementForGermanSpreadsheets) {
    Settings settings;
    completeLoadedSettings(settings, portableText);
    DiagramState d(evaluationOptionsFromSettings(settings), settings);
    const wchar_t* names[] = {L"C:\\Messungen\\Kunde-0001.kxm", L"C:\\Messungen\\Prüfung;2.kxm"};
    for (int i = 0; i < 2; ++i) {
        RunShape shape;
        shape.peakTorque = 100 + 20 * i;
        d.measurements[i] = std::make_unique<Measurement>(syntheticRun(shape));
        d.measurements[i]->fileName = names[i];
    }
    d.count = 2;
    d.ComputeRanges();

    const std::string file = PointTableFile(d);
    ASSERT_EQ(file.substr(0, 3), "\xEF\xBB\xBF");
    const std::string header = "Datei;Index;Zeit [s];Geschwindigkeit [km/h];Drehzahl [U/min];Wegstrecke [m];"
                               "Drehmoment [Nm];Leistung [kW];Leistung [PS];A/F\r\n";
    EXPECT_EQ(file.substr(3, header.size()), header);
    // rows: as many as each run has evaluation points, each ended by CR LF
    size_t rows[2] = {0, 0}, lines = 0;
    for (size_t at = 3; at < file.size();) {
        const size_t end = file.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        const std::string line = file.substr(at, end - at);
        if (lines++ > 0) {
            if (line.rfind("Kunde-0001.kxm;", 0) == 0) {
                ++rows[0];
            } else if (line.rfind("\"Prüfung;2.kxm\";", 0) == 0) {
                ++rows[1];  // quoted: it holds the separator
            } else {
                ADD_FAILURE() << line;
            }
            EXPECT_EQ(line.find('.', line.find(".kxm") + 4), std::string::npos) << "decimal commas: " << line;
        }
        at = end + 2;
    }
    for (int i = 0; i < 2; ++i) {
        size_t points = 1;
        d.cursor.rewind(*d.measurements[i]);
        while (d.cursor.advance()) ++points;
        EXPECT_EQ(rows[i], points) << "measurement " << i;
    }
}
