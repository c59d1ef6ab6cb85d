#include "Runs.h"

#include <chrono>
#include <vector>

#include "RecordingOperator.h"
#include "Utf8.h"

volatile std::sig_atomic_t gStopRequested = 0;

namespace {

// Reports phase changes and commands as they happen.
class Progress {
public:
    Progress(std::FILE* log, bool quiet) : log_(quiet ? nullptr : log) {}
    void phase(const Simulation& sim) {
        const DriverPhase now = sim.vehicle().phase();
        if (log_ && (first_ || now != last_))
            std::fprintf(log_, "%8.2f s  %-10s %5.0f U/min\n", sim.time(), phaseName(now), sim.vehicle().engineRpm());
        first_ = false;
        last_ = now;
    }
    void command(const Simulation& sim, uint8_t byte) {
        if (log_) std::fprintf(log_, "%8.2f s  Befehl 0x%02X\n", sim.time(), byte);
    }

private:
    std::FILE* log_;
    bool first_ = true;
    DriverPhase last_ = DriverPhase::Idle;
};

bool scenarioOver(const DynosimOptions& options, const Simulation& sim, int defaultCycles) {
    const int cycles = options.cycles > 0 ? options.cycles : defaultCycles;
    if (cycles > 0 && sim.vehicle().cyclesCompleted() >= cycles) return true;
    return options.duration > 0 && sim.time() >= options.duration;
}

// The controller's bytes as sent, into a file or ("-") standard output.
class RawCapture {
public:
    explicit RawCapture(const std::string& path)
        : file_(path.empty() ? nullptr : path == "-" ? stdout : std::fopen(path.c_str(), "wb")) {}
    ~RawCapture() {
        if (file_ && file_ != stdout) std::fclose(file_);
        if (file_ == stdout) std::fflush(stdout);
    }
    bool failed(const std::string& path) const { return !path.empty() && !file_; }
    void write(const std::vector<uint8_t>& bytes) {
        if (file_ && !bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file_);
    }

private:
    std::FILE* file_;
};

}  // namespace

int runOnLine(const DynosimOptions& options, SerialEndpoint& line, std::FILE* log) {
    RawCapture capture(options.rawPath);
    if (capture.failed(options.rawPath)) {
        std::fprintf(stderr, "dynosim: %s kann nicht geschrieben werden\n", options.rawPath.c_str());
        return 1;
    }
    Simulation sim(options.simulation);
    Progress progress(log, options.quiet);
    const auto start = std::chrono::steady_clock::now();
    std::vector<uint8_t> bytes;
    uint8_t commands[64];
    while (!gStopRequested) {
        const std::chrono::duration<double> real = std::chrono::steady_clock::now() - start;
        const double now = real.count() * options.timeScale;
        sim.advanceTo(now);
        progress.phase(sim);
        bytes.clear();
        sim.takeBytes(now, bytes);
        capture.write(bytes);
        if (!bytes.empty()) line.write(bytes.data(), bytes.size());
        for (size_t n; (n = line.read(commands, sizeof commands)) > 0;) {
            for (size_t i = 0; i < n; ++i) {
                progress.command(sim, commands[i]);
                sim.command(commands[i]);
            }
        }
        if (scenarioOver(options, sim, 0)) break;
        line.wait(5);
    }
    return 0;
}

int runWithoutLine(const DynosimOptions& options, std::FILE* log) {
    RawCapture capture(options.rawPath);
    if (capture.failed(options.rawPath)) {
        std::fprintf(stderr, "dynosim: %s kann nicht geschrieben werden\n", options.rawPath.c_str());
        return 1;
    }
    const bool recording = !options.kxmPath.empty();
    const SensorParameters& sensors = options.simulation.sensors;
    const WeatherCalibration& cal = sensors.calibration;
    RecordingParameters parameters = options.recording;
    // the operator has set up the program for this dynamometer
    parameters.inertia = options.simulation.vehicle.inertia;
    parameters.wheel = options.simulation.vehicle.circumference;
    if (parameters.comment.empty())
        parameters.comment = L"dynosim --seed " + std::to_wstring(options.simulation.seed);
    const double calibration[6] = {cal.temperatureOffset, cal.temperatureGain, cal.pressureOffset,
                                   cal.pressureGain,      cal.humidityOffset,  cal.humidityGain};
    RecordingOperator program(parameters, calibration);
    RecordingSession& session = program.session();
    Simulation sim(options.simulation);
    Progress progress(log, options.quiet);

    // the measurement dialog drains the line every 100 ms; a recording that
    // has not ended after an hour never will
    constexpr double kDrainPeriod = 0.1;
    constexpr double kGiveUp = 3600;
    std::vector<uint8_t> bytes;
    for (double now = kDrainPeriod; !gStopRequested; now += kDrainPeriod) {
        sim.advanceTo(now);
        progress.phase(sim);
        bytes.clear();
        sim.takeBytes(now, bytes);
        capture.write(bytes);
        program.drain(bytes, now);
        for (uint8_t command : program.takeCommands()) {
            progress.command(sim, command);
            sim.command(command);
        }
        if (recording && session.outcome() != RecordingSession::Outcome::Running) break;
        if (scenarioOver(options, sim, recording ? 0 : 1) || now >= kGiveUp) break;
    }
    if (!recording) return 0;

    switch (session.outcome()) {
    case RecordingSession::Outcome::Running:
        std::fprintf(stderr, "dynosim: die Messung ist nicht fertig geworden (Startbedingung oder Dauer)\n");
        return 1;
    case RecordingSession::Outcome::TooManySamples:
        std::fprintf(stderr, "dynosim: Zu viele Meßpunkte\n");
        return 1;
    case RecordingSession::Outcome::Complete:
        break;
    }
    if (!session.write(fromUtf8(options.kxmPath), parameters.recordedAt)) {
        std::fprintf(stderr, "dynosim: %s kann nicht geschrieben werden\n", options.kxmPath.c_str());
        return 1;
    }
    const MeasurementRun& run = session.run();
    if (!options.quiet)
        std::fprintf(log, "%s: %d Meßpunkte, Untersetzung %.4f, %d Telegramme verworfen, %d Umdrehungen ergänzt\n",
                     options.kxmPath.c_str(), run.sampleCount(), session.settings().recordGear, run.rejectedFrames(),
                     run.restoredRevolutions());
    return 0;
}
