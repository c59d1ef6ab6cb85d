// kxm record: replays a raw capture of the controller's byte stream through
// the program's decoder and measurement run, as the measurement dialog
// records after "Start" was pressed before the first byte, and writes the
// run as the dialog's save does. One JSON line tells what came of it.
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "Capture.h"
#include "IniFileStore.h"
#include "Json.h"
#include "Kxm.h"
#include "NumberText.h"
#include "RecordingSession.h"
#include "Settings.h"
#include "StringTable.h"
#include "Utf8.h"

namespace {

const char kUsage[] =
    "kxm record CAPTURE|- -o OUT.kxm [--device N] [--period S] [--start-mode rpm|kmh] [--start-value N] "
    "[--fixed-gear G] [--recorded-at UNIXZEIT] [--comment TEXT] [--ini PATH]";

struct RecordOptions {
    std::wstring capture, out, ini;
    bool haveCapture = false;
    int device = 0;
    int period = -1, startMode = -1, startValue = -1;
    double fixedGear = 0;  // 0: determined as the dialog does
    bool haveRecordedAt = false;
    int recordedAt = 0;
    bool haveComment = false;
    std::wstring comment;
};

bool parse(const Args& args, RecordOptions& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::wstring value = hasValue ? args[i + 1] : std::wstring();
        bool ok = hasValue;
        if (a == L"-o") o.out = value, ok = ok && !value.empty();
        else if (a == L"--device") ok = ok && parseInteger(value, 0, 6, o.device);
        else if (a == L"--period") ok = ok && parseInteger(value, 0, 1073, o.period);
        else if (a == L"--start-mode") o.startMode = value == L"rpm" ? 0 : value == L"kmh" ? 1 : -1, ok = ok && o.startMode >= 0;
        else if (a == L"--start-value") ok = ok && parseInteger(value, 0, 32767, o.startValue);
        else if (a == L"--fixed-gear") o.fixedGear = parseDouble(value), ok = ok && o.fixedGear > 0 && std::isfinite(o.fixedGear);
        else if (a == L"--recorded-at") o.haveRecordedAt = true, ok = ok && parseInteger(value, INT32_MIN, INT32_MAX, o.recordedAt);
        else if (a == L"--comment") o.haveComment = true, o.comment = value;
        else if (a == L"--ini") o.ini = value, ok = ok && !value.empty();
        else if (!o.haveCapture && (a == L"-" || (!a.empty() && a[0] != L'-'))) {
            o.capture = a;
            o.haveCapture = true;
            continue;
        } else {
            return false;
        }
        if (!ok) return false;
        ++i;  // the option's value
    }
    return o.haveCapture && !o.out.empty();
}

const char* outcomeText(RecordingSession::Outcome outcome) {
    switch (outcome) {
    case RecordingSession::Outcome::Complete: return "complete";
    case RecordingSession::Outcome::TooManySamples: return "too many samples";
    case RecordingSession::Outcome::Running: break;
    }
    return "incomplete";
}

}  // namespace

int runRecord(const Args& args) {
    RecordOptions o;
    if (!parse(args, o)) return usageError(kUsage);

    Settings settings;  // the defaults, as a fresh installation has them
    if (!o.ini.empty()) {
        IniFileStore store(toUtf8(o.ini));
        if (!store.wasRead()) {
            std::fprintf(stderr, "Datei kann nicht gelesen werden: %s\n", toUtf8(o.ini).c_str());
            return 2;
        }
        loadSettings(settings, store);
    }
    completeLoadedSettings(settings, portableText);
    if (o.period >= 0) settings.recordPeriod = static_cast<int16_t>(o.period);
    if (o.startMode >= 0) settings.recordStartMode = static_cast<int16_t>(o.startMode);
    if (o.startValue >= 0) settings.recordStartVal = static_cast<int16_t>(o.startValue);
    settings.recordGearAuto = o.fixedGear > 0 ? 0 : 1;
    if (o.fixedGear > 0) settings.recordGear = o.fixedGear;
    if (o.haveComment) settings.recordComment = o.comment;

    std::string capture;
    if (!readCapture(o.capture, capture)) {
        std::fprintf(stderr, "Mitschnitt kann nicht gelesen werden: %s\n", toUtf8(o.capture).c_str());
        return 2;
    }
    RecordingSession session(settings);
    session.chooseDevice(o.device);
    session.pressStart();
    session.feed(reinterpret_cast<const uint8_t*>(capture.data()), capture.size());
    session.endOfStream();

    const MeasurementRun& run = session.run();
    const bool keep = session.outcome() != RecordingSession::Outcome::TooManySamples && run.sampleCount() > 0;
    const int32_t recordedAt = o.haveRecordedAt ? o.recordedAt : static_cast<int32_t>(std::time(nullptr));
    const bool written = keep && session.write(o.out, recordedAt);
    std::string json = "{\"sampleCount\":" + std::to_string(keep ? run.sampleCount() : 0);
    json += ",\"gearRatio\":" + jsonNumber(session.settings().recordGear);
    json += ",\"rejectedFrames\":" + std::to_string(run.rejectedFrames());
    json += ",\"restoredRevolutions\":" + std::to_string(run.restoredRevolutions());
    json += ",\"outcome\":\"" + std::string(outcomeText(session.outcome())) + "\"}";
    printLine(json);
    if (keep && !written) std::fprintf(stderr, "%s kann nicht geschrieben werden\n", toUtf8(o.out).c_str());
    return written ? 0 : 2;
}
