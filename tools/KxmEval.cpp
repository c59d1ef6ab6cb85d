// kxm eval and kxm export: a measurement evaluated as a new diagram window
// would evaluate it, with the evaluation options and calibration of the
// settings (their defaults, or an INI file's).
#include <cstdio>
#include <string>
#include <vector>

#include "AtmosphericCorrection.h"
#include "EvaluationCursor.h"
#include "Json.h"
#include "Kxm.h"
#include "KxmSetup.h"
#include "MeasurementFile.h"
#include "PointTable.h"
#include "Settings.h"
#include "StringTable.h"
#include "Utf8.h"
#include "resource.h"

namespace {

const char* kEvalUsage =
    "kxm eval FILE [--power-mode 0|1] [--correction 0|1|2] [--loss-time S] [--smoothing 0|1|2] [--ini PATH]";
const char* kExportUsage =
    "kxm export FILE [--power-mode 0|1] [--correction 0|1|2] [--loss-time S] [--smoothing 0|1|2] [--ini PATH]\n"
    "                [--csv] [--de]";

bool readForEvaluation(const EvalSetup& setup, Measurement& m) {
    MeasurementReadContext context;  // no notice: a tool says nothing about old files
    context.wheel = setup.settings.mechanicsWheel;
    return readMeasurement(setup.paths[0], m, context);
}

std::string scaled(const EvaluationCursor& cursor, int q) {
    return jsonScaled(cursor.quantityValue(q, cursor.index()), quantityDescriptor(q).decimals);
}

std::string warningText() {
    std::wstring text = portableText(IDS_NO_COASTDOWN);
    for (wchar_t& c : text)
        if (c == L'\n') c = L' ';
    return jsonString(text);
}

}  // namespace

int runEval(const Args& args) {
    EvalSetup setup;
    if (int status = parseSetup(args, kEvalUsage, 0, setup)) return status;
    Measurement m;
    if (!readForEvaluation(setup, m)) return fileFormatError(setup.paths[0]);

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
    if (int status = parseSetup(args, kExportUsage, kSetupExport, setup)) return status;
    Measurement m;
    if (!readForEvaluation(setup, m)) return fileFormatError(setup.paths[0]);

    // tab-separated by default; CSV with comma, or for German spreadsheets
    // with semicolon and decimal comma
    const PointTableStyle style = pointTableStyle(setup.csv, setup.german);
    printLine(pointTableHeader(style, false));
    EvaluationCursor cursor(setup.options, setup.settings);
    cursor.evaluate(m);
    for (const std::string& row : pointTableRows(cursor, m, style)) printLine(row);
    return 0;
}
