#include "MeasurementRun.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "MeasurementFile.h"

namespace {

// The estimate settles during the first second and is written to
// Record/Gear up to the third; from then on it only feeds the slip lamp.
constexpr int32_t kEstimateSettled = 2000000;
constexpr int32_t kGearFixed = 6000000;

}  // namespace

MeasurementRun::MeasurementRun(const LiveValues& live, Settings& settings, double& gearEstimate)
    : live_(live), settings_(settings), estimate_(gearEstimate) {}

void MeasurementRun::allocate() {
    times_.assign(kBufferEntries, 0);
    lambdas_.assign(kBufferEntries, 0);
    revolutions_.assign(kBufferEntries, Revolution());
}

void MeasurementRun::release() {
    std::vector<int32_t>().swap(times_);
    std::vector<int32_t>().swap(lambdas_);
    std::vector<Revolution>().swap(revolutions_);
    sampleCount_ = 0;
}

void MeasurementRun::enterIdle() {
    state_ = RunState::Idle;
    elapsed_ = 0;
}

void MeasurementRun::startWaiting() {
    if (state_ == RunState::Idle) state_ = RunState::Waiting;
}

void MeasurementRun::lineLost() {
    const bool recording = state_ == RunState::Recording;
    if (recording) finishRecording();
    enterIdle();
    if (recording) ending_ = Ending::LineLost;
}

void MeasurementRun::endRecording() {
    if (state_ != RunState::Recording) return;
    finishRecording();
    enterIdle();
}

MeasurementRun::Ending MeasurementRun::takeEnding() {
    return std::exchange(ending_, Ending::None);
}

int32_t MeasurementRun::startConditionValue(int32_t period) const {
    if (settings_.recordStartMode == 0) return live_.enginePeriod > 0 ? 120000000 / live_.enginePeriod : 0;
    return period > 0 ? truncateToInt32(settings_.mechanicsWheel * 2000000.0 * 3.6 / period) : 0;
}

// The start condition is tested only here: a run never starts between two
// roller revolutions.
void MeasurementRun::rollerFrame(int32_t period) {
    const PeriodBand band(settings_.mechanicsInertia, settings_.mechanicsWheel);
    const bool damaged = std::exchange(frameDamaged_, false);
    // a new level that two frames agree on is taken even outside the band
    if (!damaged && period > 0 &&
        (lastGoodPeriod_ <= 0 || band.plausible(lastGoodPeriod_, period) || (lastPeriod_ > 0 && band.plausible(lastPeriod_, period))))
        lastGoodPeriod_ = period;
    lastPeriod_ = damaged ? 0 : period;
    if (damaged && state_ != RunState::Recording) return;
    switch (state_) {
    case RunState::Idle:
        return;
    case RunState::Waiting:
        if (startConditionValue(period) >= settings_.recordStartVal) startRecording();
        return;
    case RunState::Recording:
        record(period, damaged);
        return;
    }
}

void MeasurementRun::startRecording() {
    sampleCount_ = 0;
    rejectedFrames_ = 0;
    restoredRevolutions_ = 0;
    pendingLosses_ = 0;
    // the run's first revolution needs no reference: the frame that met the
    // start condition may belong to another pulse setting or test feed
    lastGoodPeriod_ = 0;
    lastPeriod_ = 0;
    state_ = RunState::Recording;
    // a run of no length (or of a negative one, from a hand-edited INI file)
    // records one second
    if (settings_.recordPeriod <= 0) settings_.recordPeriod = 1;
    const int32_t seconds = settings_.recordPeriod < kLongestPeriod ? settings_.recordPeriod : kLongestPeriod;
    durationLimit_ = seconds * kTicksPerSecond;
    elapsed_ = 0;
}

// Each time stamp is the sum of the roller periods up to and including its
// own; the revolution that passes the limit is still recorded, the next one
// ends the run.
void MeasurementRun::record(int32_t period, bool damaged) {
    if (elapsed_ > durationLimit_) {
        finishRecording();
        enterIdle();
        ending_ = Ending::Complete;
        return;
    }
    // the clock goes on by the last good period where this one cannot be
    // right (rollerFrame has just taken it as the last good one if it fits)
    const int32_t step = !damaged && period == lastGoodPeriod_ ? period : lastGoodPeriod_ > 0 ? lastGoodPeriod_ : 1;
    elapsed_ += step;
    if (sampleCount_ >= kBufferEntries) {
        // a file holds at most 16000 revolutions: the run cannot be kept
        enterIdle();
        ending_ = Ending::TooManySamples;
        return;
    }
    times_[sampleCount_] = elapsed_;
    Revolution& revolution = revolutions_[sampleCount_];
    revolution.period = period;
    revolution.damaged = damaged;
    revolution.lossCount = std::exchange(pendingLosses_, 0);
    for (int k = 0; k < revolution.lossCount; ++k) revolution.losses[k] = pendingLoss_[k];
    // without a lambda channel the entry is 0, so that a device chosen during
    // the run finds no reading of an earlier run in the buffer
    lambdas_[sampleCount_] = live_.channelMode != 0 ? live_.recordedLambda() : 0;
    ++sampleCount_;
}

// The faults the stream shows while recording. A lost frame that may have
// been a roller frame is kept for the revolution after it; a frame that
// turned out damaged after it was recorded is marked.
void MeasurementRun::lineFault(const LineFault& fault) {
    using Kind = LineFault::Kind;
    if (fault.kind == Kind::DamagedFrame && fault.type == FrameType::RollerPeriod) frameDamaged_ = true;
    if (state_ != RunState::Recording) return;
    const bool roller = fault.type == FrameType::RollerPeriod;
    switch (fault.kind) {
    case Kind::DamagedFrame:
    case Kind::ImplausibleEngine:
        ++rejectedFrames_;
        break;
    case Kind::LastFrameDamaged:
        if (!roller || sampleCount_ == 0) return;
        if (!revolutions_[sampleCount_ - 1].damaged) ++rejectedFrames_;
        revolutions_[sampleCount_ - 1].damaged = true;
        return;
    case Kind::LostFrame:
        ++rejectedFrames_;
        break;
    }
    const bool mayBeRoller = fault.kind == Kind::ImplausibleEngine ||
                             (fault.kind == Kind::LostFrame && (!fault.typeKnown || roller));
    if (!mayBeRoller) return;
    // a lost roller frame tells more than a frame of unknown type
    const bool known = fault.kind == Kind::LostFrame && fault.typeKnown;
    // the clock takes the lost revolution at once, so that the gear ratio
    // is fixed and the run ends at the time they would without the fault;
    // a frame of unknown type counts when its bytes read as the period
    // the roller has now
    int32_t lost = known ? lastGoodPeriod_ : 0;
    for (int k = 0; k < fault.candidateCount; ++k)
        if (std::llabs(static_cast<int64_t>(fault.candidates[k]) - lastGoodPeriod_) * 100 <= lastGoodPeriod_)
            lost = fault.candidates[k];
    if (lost > 0) elapsed_ += lost;
    if (pendingLosses_ < Revolution::kLosses) pendingLoss_[pendingLosses_++] = fault;
}

void MeasurementRun::finishRecording() {
    const PeriodBand band(settings_.mechanicsInertia, settings_.mechanicsWheel);
    RevolutionFilter filter(band);
    const std::vector<RevolutionFilter::Cleaned> cleaned = filter.clean(revolutions_.data(), sampleCount_, kBufferEntries);
    rejectedFrames_ += filter.rejected();
    restoredRevolutions_ = filter.restored();
    const std::vector<int32_t> lambdas(lambdas_.begin(), lambdas_.begin() + sampleCount_);
    // summed again; the revolution that passes the limit is the last one,
    // as it is while recording
    int64_t elapsed = 0;
    int32_t count = 0;
    for (const RevolutionFilter::Cleaned& c : cleaned) {
        if (elapsed > durationLimit_) break;
        elapsed += c.period;
        times_[count] = static_cast<int32_t>(std::min<int64_t>(elapsed, INT32_MAX));
        lambdas_[count] = lambdas[c.source];
        ++count;
    }
    sampleCount_ = count;
}

void MeasurementRun::frameApplied() {
    if (state_ != RunState::Recording || live_.enginePeriod == 0 || lastGoodPeriod_ <= 0) return;
    // the last roller period that fits, not a damaged or implausible one
    const double ratio = static_cast<double>(lastGoodPeriod_) / live_.enginePeriod;
    if (elapsed_ <= kEstimateSettled) {
        estimate_ = ratio;
        return;
    }
    estimate_ = (estimate_ * 9 + ratio) / 10;
    if (elapsed_ <= kGearFixed && settings_.recordGearAuto != 0) settings_.recordGear = estimate_;
}

bool MeasurementRun::slipping() const {
    if (state_ != RunState::Recording) return false;
    return std::fabs(estimate_ - settings_.recordGear) > estimate_ * settings_.hardwareGapDeviation;
}

int32_t MeasurementRun::progress() const {
    if (state_ != RunState::Recording || durationLimit_ / 100 == 0) return 0;
    return elapsed_ / (durationLimit_ / 100);
}

MeasurementRun::Header MeasurementRun::currentHeader() const {
    Header h;
    h.temperature = settings_.weatherTemperature;
    h.pressure = static_cast<uint16_t>(settings_.weatherPressure);
    h.humidity = static_cast<uint16_t>(settings_.weatherHumidity);
    h.gearRatio = settings_.recordGear;
    h.inertia = settings_.mechanicsInertia;
    h.circumference = settings_.mechanicsWheel;
    h.comment = settings_.recordComment;
    h.withLambda = live_.channelMode != 0;
    return h;
}

bool MeasurementRun::write(const std::wstring& path, int32_t recordedAt) {
    return write(path, recordedAt, currentHeader());
}

bool MeasurementRun::write(const std::wstring& path, int32_t recordedAt, const Header& header) {
    if (!allocated()) return false;
    Measurement m;
    m.sampleCount = static_cast<uint16_t>(sampleCount_);
    m.temperature = header.temperature;
    m.pressure = header.pressure;
    m.humidity = header.humidity;
    m.gearRatio = header.gearRatio;
    m.recordedAt = recordedAt;
    m.inertia = header.inertia;
    m.circumference = header.circumference;
    m.comment = header.comment;
    m.fileName = path;
    const bool withLambda = header.withLambda;

    // lend the buffers, cut to the run's length (their capacity stays), and
    // take them back whatever the write answers
    times_.resize(static_cast<size_t>(sampleCount_));
    m.times = std::move(times_);
    if (withLambda) {
        lambdas_.resize(static_cast<size_t>(sampleCount_));
        m.lambdaValues = std::move(lambdas_);
    }
    const bool written = writeMeasurement(m);
    times_ = std::move(m.times);
    times_.resize(kBufferEntries);
    if (withLambda) {
        lambdas_ = std::move(*m.lambdaValues);
        lambdas_.resize(kBufferEntries);
    }
    return written;
}

double& theGearEstimate() {
    static double estimate = 0.0;
    return estimate;
}

std::wstring gearRatioText(double gear) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, gear, std::chars_format::general, 4);
    return std::wstring(text, result.ptr);
}
