#include "RevolutionFilter.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t kLargestPeriod = 0x7FFFFF;  // what a frame carries
}

std::vector<RevolutionFilter::Cleaned> RevolutionFilter::clean(const Revolution* revolutions, int32_t count,
                                                                int32_t capacity) {
    rejected_ = restored_ = 0;
    periods_.assign(static_cast<size_t>(count), 0);
    known_.assign(static_cast<size_t>(count), false);
    for (int32_t i = 0; i < count; ++i) {
        periods_[i] = revolutions[i].period;
        known_[i] = !revolutions[i].damaged && periods_[i] >= band_.shortest() && periods_[i] <= kLargestPeriod;
        // damaged frames were counted when the stream showed them
        if (!known_[i] && !revolutions[i].damaged) ++rejected_;
    }
    rejectJumps();

    // the lost revolutions go in first, so that the spike test and the
    // interpolation see the course as the roller ran it
    std::vector<int32_t> periods;
    std::vector<bool> known;
    std::vector<Cleaned> out;
    out.reserve(static_cast<size_t>(std::min(count + 16, capacity)));
    for (int32_t i = 0; i < count && static_cast<int32_t>(out.size()) < capacity; ++i) {
        for (int k = 0; k < revolutions[i].lossCount && i > 0 && static_cast<int32_t>(out.size()) + 1 < capacity; ++k) {
            int32_t period = 0;
            if (restore(revolutions[i].losses[k], i, period)) {
                periods.push_back(period);
                known.push_back(period > 0);
                out.push_back({period, i});
                ++restored_;
            }
        }
        periods.push_back(periods_[i]);
        known.push_back(known_[i]);
        out.push_back({periods_[i], i});
    }
    periods_.swap(periods);
    known_ = known;
    rejectSpikes();
    interpolate();
    for (size_t k = 0; k < out.size(); ++k) out[k].period = periods_[k];
    return out;
}

// Whether a revolution went missing before revolution i, and its period if
// the lost bytes tell it (0: to be interpolated). A lost roller frame is
// surely one; a lost frame of unknown type, or an engine frame that jumped,
// only when its bytes read as a period between the known ones around it.
bool RevolutionFilter::restore(const LineFault& loss, int32_t i, int32_t& period) const {
    int32_t left = i - 1, right = i;
    while (left >= 0 && !known_[left]) --left;
    while (right < static_cast<int32_t>(known_.size()) && !known_[right]) ++right;
    period = 0;
    if (left >= 0 && right < static_cast<int32_t>(known_.size())) {
        const double margin = 1 + 2 * kSpikeShare;
        const double low = std::min(periods_[left], periods_[right]) / margin;
        const double high = std::max(periods_[left], periods_[right]) * margin;
        for (int k = 0; k < loss.candidateCount && period == 0; ++k)
            if (loss.candidates[k] >= low && loss.candidates[k] <= high) period = loss.candidates[k];
    }
    const bool surelyRoller =
        loss.kind == LineFault::Kind::LostFrame && loss.typeKnown && loss.type == FrameType::RollerPeriod;
    return period > 0 || surelyRoller;
}

// A period outside the inertia band of the one before is taken out when
// the one after does not go on from it: a step that persists is real (a
// pulse wheel changed, a test bench fed a new speed), an isolated jump is
// not.
void RevolutionFilter::rejectJumps() {
    const int32_t n = static_cast<int32_t>(periods_.size());
    int32_t previous = -1;
    for (int32_t i = 0; i < n; ++i) {
        if (!known_[i]) continue;
        const bool next = i + 1 < n && known_[i + 1];
        bool jump = false;
        if (previous >= 0)
            jump = !band_.plausible(periods_[previous], periods_[i]) &&
                   !(next && band_.plausible(periods_[i], periods_[i + 1]));
        else if (next && i + 2 < n && known_[i + 2])
            jump = !band_.plausible(periods_[i], periods_[i + 1]) && band_.plausible(periods_[i + 1], periods_[i + 2]);
        if (jump) {
            known_[i] = false;
            ++rejected_;
        } else {
            previous = i;
        }
    }
}

// The period a smooth course predicts at i from its neighbours. Under a
// steady torque the square of the angular speed grows in proportion to the
// revolutions, so 1/T^2 runs almost on a straight line even where T itself
// bends hard (a strong pull at walking pace): the prediction is the cubic
// through two neighbours on each side in 1/T^2. Without them (at the ends,
// beside a rejected period) only the band judges.
double RevolutionFilter::prediction(int32_t i) const {
    const int32_t n = static_cast<int32_t>(periods_.size());
    auto known = [&](int32_t j) { return j >= 0 && j < n && known_[j]; };
    auto u = [&](int32_t j) { return 1.0 / (static_cast<double>(periods_[j]) * periods_[j]); };
    double predicted = 0;
    if (known(i - 2) && known(i - 1) && known(i + 1) && known(i + 2))
        predicted = (-u(i - 2) + 4 * u(i - 1) + 4 * u(i + 1) - u(i + 2)) / 6;
    return predicted > 0 ? 1 / std::sqrt(predicted) : 0;
}

// A spike lies off both sides; where the torque changes at once (the clutch
// let go, the brake applied) the course bends, and the period still goes on
// from one side: the line through the two before it or the two after it.
double RevolutionFilter::residual(int32_t i) const {
    if (!known_[i]) return 0;
    const double p = prediction(i);
    if (p <= 0) return 0;
    double r = std::fabs(periods_[i] - p) / p;
    const int32_t n = static_cast<int32_t>(periods_.size());
    auto known = [&](int32_t j) { return j >= 0 && j < n && known_[j]; };
    auto u = [&](int32_t j) { return 1.0 / (static_cast<double>(periods_[j]) * periods_[j]); };
    for (int side : {-1, 1}) {
        if (!known(i + side) || !known(i + 2 * side)) continue;
        const double extrapolated = 2 * u(i + side) - u(i + 2 * side);
        if (extrapolated <= 0) continue;
        const double q = 1 / std::sqrt(extrapolated);
        r = std::min(r, std::fabs(periods_[i] - q) / q);
    }
    return r;
}

// A spike lies off the course on the same side of every estimate of it: the
// smooth course through both sides and the lines from either side. A period
// that lies above one and below another is on a bend that happened within
// its revolution (the brake let go or the throttle opened during it, the
// roller reaching or leaving a steady speed) and is taken as it came.
double RevolutionFilter::spikeResidual(int32_t i) const {
    const double r = residual(i);
    if (r <= 0) return 0;
    const int32_t n = static_cast<int32_t>(periods_.size());
    auto known = [&](int32_t j) { return j >= 0 && j < n && known_[j]; };
    auto u = [&](int32_t j) { return 1.0 / (static_cast<double>(periods_[j]) * periods_[j]); };
    const double period = periods_[i];
    const bool above = period > prediction(i);
    for (int side : {-1, 1}) {
        if (!known(i + side) || !known(i + 2 * side)) continue;
        const double extrapolated = 2 * u(i + side) - u(i + 2 * side);
        if (extrapolated <= 0) continue;
        if ((period > 1 / std::sqrt(extrapolated)) != above) return 0;
    }
    return r;
}

// Spikes are taken out one at a time, the largest first: a spike also
// disturbs its neighbours' predictions, and they are judged again without it.
void RevolutionFilter::rejectSpikes() {
    const int32_t n = static_cast<int32_t>(periods_.size());
    std::vector<double> residuals;
    for (int32_t i = 0; i < n; ++i)
        if (double r = residual(i); r > 0) residuals.push_back(r);
    if (!residuals.empty()) {
        // the median residual measures the edge jitter of this run
        std::nth_element(residuals.begin(), residuals.begin() + residuals.size() / 2, residuals.end());
        tolerance_ = std::max(kSpikeShare, kSpikeNoise * 1.4826 * residuals[residuals.size() / 2]);
    }
    std::vector<double> current(static_cast<size_t>(n), 0.0);
    for (int32_t i = 0; i < n; ++i) current[i] = spikeResidual(i);
    for (;;) {
        const auto worst = std::max_element(current.begin(), current.end());
        if (worst == current.end() || *worst <= tolerance_) return;
        const int32_t j = static_cast<int32_t>(worst - current.begin());
        known_[j] = false;
        ++rejected_;
        for (int32_t k = std::max(0, j - 2); k <= std::min(n - 1, j + 2); ++k) current[k] = spikeResidual(k);
    }
}

// Unknown periods on the line between their known neighbours; at the ends
// the nearest known one is held.
void RevolutionFilter::interpolate() {
    const int32_t n = static_cast<int32_t>(periods_.size());
    int32_t left = -1;
    for (int32_t i = 0; i < n; ++i) {
        if (known_[i]) {
            left = i;
            continue;
        }
        int32_t right = i + 1;
        while (right < n && !known_[right]) ++right;
        double value = 1;
        if (left >= 0 && right < n)
            value = periods_[left] + (static_cast<double>(periods_[right]) - periods_[left]) * (i - left) / (right - left);
        else if (left >= 0)
            value = periods_[left];
        else if (right < n)
            value = periods_[right];
        else
            value = std::clamp(periods_[i], 1, kLargestPeriod);
        periods_[i] = std::max(1, static_cast<int32_t>(std::lround(value)));
    }
}
