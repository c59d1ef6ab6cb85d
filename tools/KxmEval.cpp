// kxm eval and kxm export: a measurement evaluated as a new diagram window
// would evaluate it, with the evaluation options and calibration of the
// settings (their defaults, or an INI file's).
#include <cstdio>
#include <string>
#include <vector>

#include "AtmosphericCorrection.h"
#include "EvaluationCursor.h"
#include "IniFileStore.h"
#include "Json.h"
#include "Kxm.h"
#include "MeasurementFile.h"
#include "NumberText.h"
#include "PointTable.h"
#include "Settings.h"
#include "StringTable.h"
#include "Utf8.h"

namespace {

const char* kEvalUsage =
    "kxm eval FILE [--power-mode 0|1] [--correction 0|1|2] [--loss-time S] [--smoothing 0|1|2] [--ini PATH]";
const char* kExportUsage =
    "kxm export FILE [--power-mode 0|1] [--correction 0|1|2] [--loss-time S] [--smoothing 0|1|2] [--ini PATH]\n"
    "                [--csv] [--de]";

// Everything an evaluation needs, as the command line and the INI file give it.
struct EvalSetup {
    std::wstring path;
    Settings settings;  // calibration, wheel and the option defaults
    EvaluationOptions options;
    bool csv = false;
    bool german = false;
};

bool isChoice(const std::wstring& text, wchar_t last) {
    return text.size() == 1 && text[0] >= L'0' && text[0] <= last;
}

// Seconds as plain decimal text ("3", "2.5"); nothing else is taken.
bool parseSeconds(const std::wstring& text, double& seconds) {
    int digits = 0, points = 0;
    for (wchar_t c : text) {
        if (c >= L'0' && c <= L'9')
            ++digits;
        else if (c == L'.')
            ++points;
        else
            return false;
    }
    if (digits == 0 || points > 1) return false;
    seconds = parseDouble(text);
    return true;
}

// 0 when the arguments were understood, otherwise the exit status.
int parseSetup(const Args& args, bool exportFlags, EvalSetup& setup) {
    const char* usage = exportFlags ? kExportUsage : kEvalUsage;
    std::wstring ini, powerMode, correction, smoothing;
    double lossTime = 0;
    bool haveLossTime = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == L"--power-mode" && hasValue && isChoice(args[i + 1], L'1')) {
            powerMode = args[++i];
        } else if (a == L"--correction" && hasValue && isChoice(args[i + 1], L'2')) {
            correction = args[++i];
        } else if (a == L"--smoothing" && hasValue && isChoice(args[i + 1], L'2')) {
            smoothing = args[++i];
        } else if (a == L"--loss-time" && hasValue && parseSeconds(args[i + 1], lossTime)) {
            haveLossTime = true;
            ++i;
        } else if (a == L"--ini" && hasValue && !args[i + 1].empty()) {
            ini = args[++i];
        } else if (exportFlags && a == L"--csv") {
            setup.csv = true;
        } else if (exportFlags && a == L"--de") {
            setup.german = true;
        } else if (setup.path.empty() && !a.empty() && a[0] != L'-') {
            setup.path = a;
        } else {
            return usageError(usage);
        }
    }
    if (setup.path.empty()) return usageError(usage);

    if (!ini.empty()) {
        IniFileStore store(toUtf8(ini));
        if (!store.wasRead()) {
            std::fprintf(stderr, "Datei kann nicht gelesen werden: %s\n", toUtf8(ini).c_str());
            return 2;
        }
        loadSettings(setup.settings, store);
    }
    completeLoadedSettings(setup.settings, portableText);
    setup.options = evaluationOptionsFromSettings(setup.settings);
    if (!powerMode.empty()) setup.options.powerMode = uint16_t(powerMode[0] - L'0');
    if (!correction.empty()) setup.options.correction = uint16_t(correction[0] - L'0');
    if (haveLossTime) setup.options.lossTime = lossTime;
    if (!smoothing.empty()) setup.options.smoothing = uint16_t(smoothing[0] - L'0');
    return 0;
}

bool readForEvaluation(const EvalSetup& setup, Measurement& m) {
    MeasurementReadContext context;  // no notice: a tool says nothing about old files
    context.wheel = setup.settings.mechanicsWheel;
    return readMeasurement(setup.path, m, context);
}

std::string scaled(const EvaluationCursor& cursor, int q) {
    return jsonScaled(cursor.quantityValue(q, cursor.index()), quantityDescriptor(q).decimals);
}

std::string warningText() {
    std::wstring text = portableText(40005);
    for (wchar_t& c : text)
        if (c == L'\n') c = L' ';
    return jsonString(text);
}

}  // namespace

int runEval(const Args& args) {
    EvalSetup setup;
    if (int status = parseSetup(args, false, setup)) return status;
    Measurement m;
    if (!readForEvaluation(setup, m)) return fileFormatError(setup.path);

    EvaluationCursor cursor(setup.options, setup.settings);
    cursor.evaluate(m);

    std::string json = "{";
    json += "\"powerMode\":" + std::to_string(setup.options.powerMode);
    json += ",\"correction\":" + std::to_string(setup.options.correction);
    json += ",\"lossTime\":" + jsonNumber(setup.options.lossTime);
    json += ",\"maxRpmIndex\":" + std::to_string(m.maxRpmIndex);
    json += ",\"maxPowerIndex\":" + std::to_string(m.maxPowerIndex);
    json += ",\"maxTorqueIndex\":" + std::to_string(m.maxTorqueIndex);
    json += ",\"lossIndex\":" + std::to_string(m.lossIndex);
    json += ",\"correctionFactor\":" + jsonNumber(m.correctionFactor);
    json += ",\"lossTorque\":" + jsonNumber(m.lossTorque);
    json += ",\"lossRpm\":" + jsonNumber(m.lossRpm);
    json += ",\"gearRatio\":" + jsonNumber(m.gearRatio);
    cursor.openWindow(m.maxPowerIndex);
    json += ",\"maxPower\":{\"kW\":" + scaled(cursor, kQuantityPowerKw) + ",\"PS\":" + scaled(cursor, kQuantityPowerPs) +
            ",\"rpm\":" + scaled(cursor, kQuantityEngineSpeed) + "}";
    cursor.openWindow(m.maxTorqueIndex);
    json += ",\"maxTorque\":{\"Nm\":" + scaled(cursor, kQuantityTorque) +
            ",\"rpm\":" + scaled(cursor, kQuantityEngineSpeed) + "}";
    json += std::string(",\"correctionValid\":") +
            (correctionValid(setup.options.correction, m.correctionFactor) ? "true" : "false");
    // the diagram warns exactly when no loss point was found
    if (m.lossIndex < m.maxRpmIndex) json += ",\"warning\":" + warningText();
    json += "}";
    printLine(json);
    return 0;
}

int runExport(const Args& args) {
    EvalSetup setup;
    if (int status = parseSetup(args, true, setup)) return status;
    Measurement m;
    if (!readForEvaluation(setup, m)) return fileFormatError(setup.path);

    // tab-separated by default; CSV with comma, or for German spreadsheets
    // with semicolon and decimal comma
    const PointTableStyle style = pointTableStyle(setup.csv, setup.german);
    printLine(pointTableHeader(style, false));
    EvaluationCursor cursor(setup.options, setup.settings);
    cursor.evaluate(m);
    for (const std::string& row : pointTableRows(cursor, m, style)) printLine(row);
    return 0;
}
