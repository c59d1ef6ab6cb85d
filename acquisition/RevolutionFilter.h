#pragma once
// The recorded revolutions of a run, cleaned once when it ends and before
// it is saved. A period that cannot be right (not positive, damaged on the
// line, an isolated jump outside the roller's inertia band, or an isolated
// spike against the smooth course of its neighbours) is replaced by one
// interpolated from its neighbours: the revolution did happen, only its
// period is unknown, so leaving it out would shorten the run by a revolution
// and make the next few torque points jump. Where the stream showed a lost
// roller frame, the missing revolution is put back with the period the lost
// frame's bytes still tell, or interpolated; where it showed a lost frame of
// unknown type, it is put back only when the lost bytes read as a period
// that fits between its known neighbours.
#include <cstdint>
#include <vector>

#include "LineFault.h"
#include "PeriodBand.h"

struct Revolution {
    int32_t period = 0;    // ticks of 0.5 us, as the frame came
    bool damaged = false;  // the stream showed the frame damaged
    // frames lost just before this one that may have been roller frames
    static constexpr int kLosses = 3;
    int lossCount = 0;
    LineFault losses[kLosses];
};

class RevolutionFilter {
public:
    // A spike smaller than this share of the period does no harm to the
    // torque curve and cannot be told from the course of a hard pull.
    static constexpr double kSpikeShare = 0.002;
    // ... nor one below this many times the run's own edge jitter.
    static constexpr double kSpikeNoise = 6.0;

    explicit RevolutionFilter(const PeriodBand& band) : band_(band) {}

    struct Cleaned {
        int32_t period;
        int32_t source;  // the recorded revolution it stands for (a restored one: the one after it)
    };
    // At most `capacity` revolutions come out.
    std::vector<Cleaned> clean(const Revolution* revolutions, int32_t count, int32_t capacity);

    int32_t rejected() const { return rejected_; }  // periods not taken as they came
    int32_t restored() const { return restored_; }  // revolutions put back

private:
    void rejectJumps();
    void rejectSpikes();
    double prediction(int32_t i) const;  // 0: no prediction possible
    double residual(int32_t i) const;    // share of the period, 0 without a prediction
    double spikeResidual(int32_t i) const;  // the residual where i lies off every estimate alike, else 0
    void interpolate();
    bool restore(const LineFault& loss, int32_t i, int32_t& period) const;

    const PeriodBand& band_;
    std::vector<int32_t> periods_;
    std::vector<bool> known_;
    double tolerance_ = kSpikeShare;  // share of the period
    int32_t rejected_ = 0;
    int32_t restored_ = 0;
};
