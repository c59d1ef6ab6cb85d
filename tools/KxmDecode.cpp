// kxm decode: replays a raw capture of the controller's byte stream through
// the program's decoder and prints one JSON line per applied frame, with the
// live values after it and the command bytes the program would have written.
#include <cstdio>
#include <string>
#include <vector>

#include "Capture.h"
#include "ControllerProtocol.h"
#include "FrameDecoder.h"
#include "Kxm.h"
#include "LiveValues.h"
#include "NumberText.h"
#include "Settings.h"
#include "Utf8.h"

namespace {

const char kUsage[] =
    "kxm decode [FILE|-] [--device N] [--state idle|waiting|recording] [--pulse-count N] [--relation N] "
    "[--weather-auto 0|1] [--wheel M]";

struct FixedRun : RunStateSource {
    RunState state = RunState::Idle;
    RunState runState() const override { return state; }
};

struct KeptCommands : CommandWriter {
    std::vector<uint8_t> bytes;
    bool writeByte(uint8_t byte) override {
        bytes.push_back(byte);
        return true;
    }
};

std::string byteArray(const uint8_t* bytes, size_t count) {
    std::string out = "[";
    for (size_t i = 0; i < count; ++i) out += (i ? "," : "") + std::to_string(bytes[i]);
    return out + "]";
}

std::string frameLine(const FrameDecoder& decoder, const LiveValues& live, const Settings& settings,
                      const std::vector<uint8_t>& written) {
    const FrameDecoder::Frame& frame = decoder.lastFrame();
    std::string json = "{";
    json += "\"type\":" + std::to_string(static_cast<int>(frame.type));
    json += ",\"value\":" + std::to_string(frame.value);
    json += ",\"enginePeriod\":" + std::to_string(live.enginePeriod);
    json += ",\"rollerPeriod\":" + std::to_string(live.rollerPeriod);
    json += ",\"rpm\":" + std::to_string(live.engineSpeed());
    json += ",\"kmh\":" + std::to_string(live.rollerSpeed(settings.mechanicsWheel));
    json += ",\"af\":" + std::to_string(live.afDisplayValue());
    json += ",\"lambda\":" + std::to_string(live.recordedLambda());
    json += ",\"gas\":" + std::to_string(live.gasDisplayValue());
    json += ",\"status\":" + byteArray(live.status, 3);
    json += ",\"temperature\":" + std::to_string(settings.weatherTemperature);
    json += ",\"pressure\":" + std::to_string(settings.weatherPressure);
    json += ",\"humidity\":" + std::to_string(settings.weatherHumidity);
    json += ",\"written\":" + byteArray(written.data(), written.size());
    return json + "}";
}

}  // namespace

int runDecode(const Args& args) {
    std::wstring path;
    bool havePath = false;
    int device = 0;
    FixedRun run;
    Settings settings;  // the defaults, as a fresh installation has them
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        const bool hasValue = i + 1 < args.size();
        int number = 0;
        if (a == L"--device" && hasValue && parseInteger(args[i + 1], 0, 6, number)) {
            device = number;
        } else if (a == L"--state" && hasValue) {
            const std::wstring& s = args[i + 1];
            if (s == L"idle") run.state = RunState::Idle;
            else if (s == L"waiting") run.state = RunState::Waiting;
            else if (s == L"recording") run.state = RunState::Recording;
            else return usageError(kUsage);
        } else if (a == L"--pulse-count" && hasValue && parseInteger(args[i + 1], 0, 15, number)) {
            settings.hardwarePulseCount = static_cast<int16_t>(number);
        } else if (a == L"--relation" && hasValue && parseInteger(args[i + 1], 0, 2, number)) {
            settings.recordRelation = static_cast<int16_t>(number);
        } else if (a == L"--weather-auto" && hasValue && parseInteger(args[i + 1], 0, 1, number)) {
            settings.weatherAuto = static_cast<int16_t>(number);
        } else if (a == L"--wheel" && hasValue && parseDouble(args[i + 1]) > 0) {
            settings.mechanicsWheel = parseDouble(args[i + 1]);
        } else if (!havePath && (a == L"-" || (!a.empty() && a[0] != L'-'))) {
            path = a;
            havePath = true;
            continue;
        } else {
            return usageError(kUsage);
        }
        ++i;  // the option's value
    }

    std::string capture;
    const bool read = readCapture(havePath ? path : L"-", capture);
    if (!read) {
        std::fprintf(stderr, "Mitschnitt kann nicht gelesen werden: %s\n", havePath ? toUtf8(path).c_str() : "-");
        return 2;
    }

    LiveValues live;
    FrameDecoder decoder(live, settings);
    KeptCommands commands;
    decoder.setRun(&run, nullptr);
    decoder.setCommandWriter(&commands);
    // as the measurement dialog leaves it after opening with the device chosen
    decoder.resetDeviceSelection();
    decoder.selectDevice(device);
    for (char c : capture) {
        const uint32_t before = decoder.frameCount();
        commands.bytes.clear();
        decoder.feedByte(static_cast<uint8_t>(c));
        if (decoder.frameCount() != before) printLine(frameLine(decoder, live, settings, commands.bytes));
    }
    return 0;
}
