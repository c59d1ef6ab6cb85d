#pragma once
// The recording behind the measurement dialog, without its window: the run
// state, the start condition, the two recording buffers, the duration limit,
// the gear-ratio estimate and the measurement file written from the buffers.
// The frame decoder hands it every roller-period frame and calls it after
// every applied frame; the dialog looks at what happened after each drain of
// the serial link (takeEnding) and shows the state.
//
// A noisy line damages, loses and inserts bytes. While recording, a period
// that cannot be right (damaged, not positive) advances the run's clock by
// the last good period instead; when the run ends, the revolution filter
// cleans the periods and puts back revolutions the stream showed lost, and
// the time stamps are summed again from them, so that every stamp is
// greater than the one before.
#include <cstdint>
#include <string>
#include <vector>

#include "ControllerProtocol.h"
#include "LiveValues.h"
#include "Measurement.h"
#include "PeriodBand.h"
#include "RevolutionFilter.h"
#include "Settings.h"

class MeasurementRun : public RunStateSource, public RollerFrameConsumer {
public:
    static constexpr int32_t kBufferEntries = 16000;
    static constexpr int32_t kTicksPerSecond = 2000000;
    // The longest run whose tick count still fits 32 bits after one more
    // roller period of the largest size a frame can carry (2^23 - 1 ticks).
    static constexpr int16_t kLongestPeriod = 1069;

    // How the last run came to an end; kept until the dialog takes it.
    // LineLost: the serial link failed while waiting or recording; what was
    // recorded up to then stays in the buffers.
    enum class Ending { None, Complete, TooManySamples, LineLost };

    // The header values a run's file gets besides its samples. Taken once
    // when the run ends, so that every file written of the run says the
    // same, even when weather frames arrive while the file dialog asks.
    struct Header {
        int16_t temperature = 0;  // °C
        uint16_t pressure = 0, humidity = 0;
        double gearRatio = 0, inertia = 0, circumference = 0;
        std::wstring comment;
        bool withLambda = false;
    };

    // `gearEstimate` is the program-wide estimate (theGearEstimate()); it
    // outlives the dialog and its runs.
    MeasurementRun(const LiveValues& live, Settings& settings, double& gearEstimate);

    // The two buffers, allocated once per dialog opening; recording appends
    // without allocating.
    void allocate();
    void release();
    bool allocated() const { return !times_.empty(); }

    RunState runState() const override { return state_; }
    // Idle: also forgets the elapsed time; the buffers keep the last run.
    void enterIdle();
    // "Start" in idle: wait for the start condition.
    void startWaiting();
    // The serial link failed: a waiting run goes back to idle, a recording
    // one ends with LineLost, what it recorded cleaned as a complete run is.
    void lineLost();
    // The end of a recording before its time (the stream ended): the run
    // keeps what was recorded, cleaned as a complete run is, and goes idle.
    void endRecording();

    void rollerFrame(int32_t period) override;
    void frameApplied() override;
    void lineFault(const LineFault& fault) override;

    // How the run ended since the last call, then None.
    Ending takeEnding();

    // The start condition's reading at a roller frame of `period` ticks:
    // U/min of the smoothed engine period with Record/StartMode 0, else
    // km/h of the roller period on Mechanics/Wheel.
    int32_t startConditionValue(int32_t period) const;
    // While recording: the running estimate strays from Record/Gear by more
    // than Hardware/GapDeviation of itself (the wheel spins on the roller).
    bool slipping() const;
    // Percent of the duration limit reached; 0 unless recording.
    int32_t progress() const;

    // Writes the run in the buffers to `path` with the header values of the
    // settings; the lambda channel goes with it when the controller runs in
    // a lambda channel mode. The buffers are only lent to the file writer
    // and stay with the run, whether the write succeeds or not.
    bool write(const std::wstring& path, int32_t recordedAt);
    bool write(const std::wstring& path, int32_t recordedAt, const Header& header);
    // The header from the settings and the channel mode as they are now.
    Header currentHeader() const;

    int32_t sampleCount() const { return sampleCount_; }
    // Of the run recorded last: frames not taken as they came (damaged,
    // implausible, or shown lost by the stream), and revolutions put back.
    int32_t rejectedFrames() const { return rejectedFrames_; }
    int32_t restoredRevolutions() const { return restoredRevolutions_; }
    int32_t elapsed() const { return elapsed_; }
    int32_t durationLimit() const { return durationLimit_; }
    const std::vector<int32_t>& times() const { return times_; }
    const std::vector<int32_t>& lambdaValues() const { return lambdas_; }

private:
    void startRecording();
    void record(int32_t period, bool damaged);
    void finishRecording();

    const LiveValues& live_;
    Settings& settings_;
    double& estimate_;
    RunState state_ = RunState::Idle;
    Ending ending_ = Ending::None;
    std::vector<int32_t> times_;
    std::vector<int32_t> lambdas_;
    std::vector<Revolution> revolutions_;
    int32_t sampleCount_ = 0;
    int32_t rejectedFrames_ = 0;
    int32_t restoredRevolutions_ = 0;
    int32_t lastGoodPeriod_ = 0;  // the last roller period that fits the band
    int32_t lastPeriod_ = 0;      // the last roller period as it came
    bool frameDamaged_ = false;   // the stream called the next frame damaged
    int pendingLosses_ = 0;       // lost frames that may be roller frames, before the next one
    LineFault pendingLoss_[Revolution::kLosses];
    int32_t durationLimit_ = 0;
    int32_t elapsed_ = 0;
};

// The program-wide gear-ratio estimate, 0 at program start.
double& theGearEstimate();

// Record/Gear as the ratio display shows it: 4 significant digits, fixed or
// exponential notation, whichever is shorter (2.3456 gives "2.346"), with a
// decimal point whatever the locale.
std::wstring gearRatioText(double gear);
