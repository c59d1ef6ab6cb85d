// kxm info and kxm convert.
#include <cstdio>
#include <string>

#include "Json.h"
#include "Kxm.h"
#include "KxmSetup.h"
#include "MeasurementFile.h"
#include "NumberText.h"
#include "Utf8.h"

namespace {

std::string intArray(const std::vector<int32_t>& values) {
    std::string out = "[";
    for (size_t i = 0; i < values.size(); ++i) {
        if (i) out += ',';
        out += std::to_string(values[i]);
    }
    return out + "]";
}

// A version-10 file has no circumference: it gets --wheel, or the INI file's
// Mechanics/Wheel as the program would use it (the default without --ini).
// 0 when understood, with the remaining arguments; otherwise the exit status.
int parseWheel(const Args& args, const char* usage, MeasurementReadContext& context, Args& rest) {
    std::wstring ini;
    double wheel = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == L"--wheel" && hasValue) {
            wheel = parseDouble(args[++i]);
            if (!(wheel > 0)) return usageError(usage);
        } else if (args[i] == L"--ini" && hasValue && !args[i + 1].empty()) {
            ini = args[++i];
        } else {
            rest.push_back(args[i]);
        }
    }
    Settings settings;
    if (int status = loadIniSettings(ini, settings)) return status;
    context.wheel = wheel > 0 ? wheel : settings.mechanicsWheel;
    return 0;
}

}  // namespace

int runInfo(const Args& args) {
    const char* usage = "kxm info FILE [--samples] [--ini PATH] [--wheel M]";
    MeasurementReadContext context;
    Args rest;
    if (int status = parseWheel(args, usage, context, rest)) return status;
    std::wstring path;
    bool samples = false;
    for (const auto& a : rest) {
        if (a == L"--samples")
            samples = true;
        else if (path.empty() && (a.empty() || a[0] != L'-'))
            path = a;
        else
            return usageError(usage);
    }
    if (path.empty()) return usageError(usage);

    Measurement m;
    int version = 0;
    if (!readMeasurement(path, m, context, &version)) return fileFormatError(path);

    std::string json = "{";
    json += "\"version\":" + std::to_string(version);
    json += ",\"sampleCount\":" + std::to_string(m.sampleCount);
    json += ",\"temperature\":" + std::to_string(m.temperature);
    json += ",\"pressure\":" + std::to_string(m.pressure);
    json += ",\"humidity\":" + std::to_string(m.humidity);
    json += ",\"gearRatio\":" + jsonNumber(m.gearRatio);
    json += ",\"recordedAt\":" + std::to_string(m.recordedAt);
    json += ",\"inertia\":" + jsonNumber(m.inertia);
    json += ",\"circumference\":" + jsonNumber(m.circumference);
    json += ",\"comment\":" + jsonString(m.comment);
    json += std::string(",\"lambda\":") + (m.hasLambda() ? "true" : "false");
    json += std::string(",\"modified\":") + (m.modified ? "true" : "false");
    if (samples) {
        json += ",\"times\":" + intArray(m.times);
        json += ",\"lambdaValues\":" + (m.hasLambda() ? intArray(*m.lambdaValues) : std::string("null"));
    }
    json += "}";
    printLine(json);
    return 0;
}

int runConvert(const Args& args) {
    const char* usage = "kxm convert IN OUT [--ini PATH] [--wheel M]";
    MeasurementReadContext context;
    Args rest;
    if (int status = parseWheel(args, usage, context, rest)) return status;
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (!rest[i].empty() && rest[i][0] != L'-') {
            paths.push_back(rest[i]);
        } else {
            return usageError(usage);
        }
    }
    if (paths.size() != 2) return usageError(usage);

    Measurement m;
    if (!readMeasurement(paths[0], m, context)) return fileFormatError(paths[0]);
    m.fileName = paths[1];
    if (!writeMeasurement(m)) {
        std::fprintf(stderr, "Datei kann nicht geschrieben werden: %s\n", toUtf8(paths[1]).c_str());
        return 1;
    }
    return 0;
}
