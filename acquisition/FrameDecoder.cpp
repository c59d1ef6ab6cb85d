#include "FrameDecoder.h"

#include <algorithm>

#include "DeviceTypes.h"

namespace {

// An engine period may change by this fraction from one frame to the next
// (8 ms apart at least; a free-revving engine gains a few percent in that
// time, a misfire doubles the period).
constexpr int32_t kEngineJumpPercent = 20;

int32_t frameValue(uint8_t mask, const uint8_t* data) {
    uint8_t b[3];
    for (int i = 0; i < 3; ++i) b[i] = static_cast<uint8_t>(data[i] | (mask & (1 << i) ? 0x80 : 0));
    const int32_t raw = b[0] | (b[1] << 8) | (b[2] << 16);
    return raw & 0x800000 ? raw - 0x1000000 : raw;
}

bool withinJump(int32_t value, int32_t reference) {
    const int64_t difference = static_cast<int64_t>(value) - reference;
    return (difference < 0 ? -difference : difference) * 100 <= static_cast<int64_t>(reference) * kEngineJumpPercent;
}

}  // namespace

void FrameDecoder::feedByte(uint8_t byte) {
    if (position_ < 0) {
        if (byte > 0x7F)
            startFrame(byte);
        else
            takeStray(byte);  // anything else outside a frame is noise
        return;
    }
    // inside a frame every byte is data, whatever its bit 7; but the
    // controller sends none with bit 7, so this one may be a header
    if (byte & 0x80) {
        damaged_ = true;
        shadow_ = Shadow();
        shadow_.active = true;
        shadow_.header = byte;
    } else {
        takeIntoShadow(byte);
    }
    if (mask_ & (1 << position_)) byte |= 0x80;
    data_[position_] = byte;
    if (++position_ < 3) return;
    position_ = -1;
    applyFrame();
}

void FrameDecoder::startFrame(uint8_t header) {
    endOfStrays();
    position_ = 0;
    type_ = static_cast<FrameType>((header >> 5) & 3);
    mask_ = header & 7;
    damaged_ = false;
}

void FrameDecoder::takeStray(uint8_t byte) {
    if (strayCount_ < 4) strays_[strayCount_] = byte;
    ++strayCount_;
    takeIntoShadow(byte);
}

void FrameDecoder::takeIntoShadow(uint8_t byte) {
    if (shadow_.active && shadow_.count < 3) shadow_.data[shadow_.count] = byte;
    if (shadow_.active) ++shadow_.count;
}

// At a header after data bytes outside a frame: a header with bit 7 taken
// as data and the bytes after it make up a lost frame; three or four stray
// bytes are a frame whose header was lost (or arrived without bit 7); one or
// two are bytes inserted into the frame before them.
void FrameDecoder::endOfStrays() {
    if (strayCount_ > 0) {
        LineFault fault;
        fault.kind = LineFault::Kind::LostFrame;
        if (shadow_.active) {
            fault.type = static_cast<FrameType>((shadow_.header >> 5) & 3);
            if (shadow_.count == 3) {
                fault.candidateCount = 1;
                fault.candidates[0] = frameValue(shadow_.header & 7, shadow_.data);
            }
        } else if (strayCount_ == 4) {
            fault.type = static_cast<FrameType>((strays_[0] >> 5) & 3);
            fault.candidateCount = 1;
            fault.candidates[0] = frameValue(strays_[0] & 7, strays_ + 1);
        } else if (strayCount_ == 3) {
            // bit 7 of the first two bytes is not known; a period is never negative
            fault.typeKnown = false;
            fault.candidateCount = 4;
            for (uint8_t mask = 0; mask < 4; ++mask) fault.candidates[mask] = frameValue(mask, strays_);
        } else if (strayCount_ > 4) {
            fault.typeKnown = false;
        } else {
            fault.kind = LineFault::Kind::LastFrameDamaged;
            fault.type = last_.type;
        }
        if (fault.kind == LineFault::Kind::LostFrame || frameCount_ > 0) report(fault);
    }
    strayCount_ = 0;
    shadow_.active = false;
}

void FrameDecoder::report(const LineFault& fault) {
    if (rollerConsumer_) rollerConsumer_->lineFault(fault);
}

void FrameDecoder::applyFrame() {
    const int32_t value = frameValue(0, data_);  // bit 7 of each byte already restored
    last_.type = type_;
    std::copy(data_, data_ + 3, last_.bytes);
    last_.value = value;
    ++frameCount_;
    if (damaged_) {
        LineFault fault;
        fault.type = type_;
        report(fault);
    }

    // a damaged frame goes to the run, which knows it is damaged, but
    // changes no live value
    switch (type_) {
    case FrameType::EnginePeriod:
        if (!damaged_ && enginePeriodPlausible(value / 4, value)) applyEnginePeriod(value);
        break;
    case FrameType::RollerPeriod:
        if (!damaged_) live_.rollerPeriod = value;
        if (rollerConsumer_) rollerConsumer_->rollerFrame(value);
        break;
    case FrameType::Status:
        if (!damaged_) applyStatus();
        break;
    case FrameType::Weather:
        if (!damaged_) applyWeather();
        break;
    }
    if (rollerConsumer_) rollerConsumer_->frameApplied();
}

// While a run waits or records, the engine speed decides its start and its
// gear ratio: a period that jumps is held back, and taken only when the next
// frame confirms it. So is a negative period, which the controller never
// sends: a flipped sign bit would restart the smoothing from 0, and the
// ratio estimate would take the slowly settling period. The controller's
// own "no engine signal", 0, always counts.
bool FrameDecoder::enginePeriodPlausible(int32_t period, int32_t value) {
    const bool confirmed = heldEnginePeriod_ != 0 && (period <= 0 ? heldEnginePeriod_ < 0
                                                                  : heldEnginePeriod_ > 0 &&
                                                                        withinJump(period, heldEnginePeriod_));
    if (runState() == RunState::Idle || lastEnginePeriod_ <= 0 || confirmed || value == 0 ||
        (period > 0 && withinJump(period, lastEnginePeriod_))) {
        heldEnginePeriod_ = 0;
        lastEnginePeriod_ = period > 0 ? period : 0;
        return true;
    }
    heldEnginePeriod_ = period > 0 ? period : -1;
    LineFault fault;
    fault.kind = LineFault::Kind::ImplausibleEngine;
    // a roller frame whose type bits were flipped looks like this
    fault.candidateCount = 1;
    fault.candidates[0] = value;
    report(fault);
    return false;
}

void FrameDecoder::applyEnginePeriod(int32_t value) {
    // the controller counts in eighths of a microsecond
    const int32_t period = value / 4;
    // no engine signal resets the smoothing, so the speed reads 0 at once
    if (period <= 0)
        live_.engineAccumulator = 0;
    else
        live_.engineAccumulator = live_.engineAccumulator + period - live_.enginePeriod;
    live_.enginePeriod = live_.engineAccumulator / 6;
}

void FrameDecoder::applyStatus() {
    std::copy(data_, data_ + 3, live_.status);
    live_.statusSeen = true;
    // the controller's configuration must not change during a run
    if (runState() == RunState::Idle) sendCommands();
    if (live_.channelMode != 0) decodeAnalogue();
}

void FrameDecoder::sendCommands() {
    // the controller echoes its channel mode in byte 0 and, in channel mode 0,
    // its ratio code in byte 1 and its pulse-count index in byte 2
    if (live_.status[0] != live_.channelMode) {
        writeCommand(kModeCommand | live_.channelMode);
        return;
    }
    if (live_.channelMode != 0) return;
    const uint8_t pulseCount = settings_.hardwarePulseCount & 0x0F;
    if (live_.status[2] != pulseCount) writeCommand(kPulseCountCommand | pulseCount);
    // a relation outside the list has no command; no other byte is ever sent
    const uint8_t ratio = ratioCode(settings_.recordRelation);
    if (ratio != 0 && live_.status[1] != ratio) writeCommand(kRatioCommand | ratio);
}

void FrameDecoder::decodeAnalogue() {
    const DeviceType* device = deviceType(live_.deviceType);
    if (!device || device->decoding == AnalogueDecoding::None) return;
    const uint8_t b1 = live_.status[1];
    const uint8_t b2 = live_.status[2];
    int32_t q = 0;
    switch (device->decoding) {
    case AnalogueDecoding::None:
        return;
    case AnalogueDecoding::NarrowBand:
        q = narrowBandValue(b2);
        live_.gasValue = live_.gasValue + 4 * b1 - live_.gasValue / 4;
        break;
    case AnalogueDecoding::Ueco:
        q = uecoValue(b1);
        live_.gasValue = 0;
        break;
    case AnalogueDecoding::Mto:
        q = mtoValue(b2);
        live_.gasValue = live_.gasValue + 4 * b1 - live_.gasValue / 4;
        break;
    case AnalogueDecoding::Wb2:
        q = wb2Value(b1);
        live_.wb2TemperatureAccumulator =
            live_.wb2TemperatureAccumulator + 50 * b2 - live_.wb2TemperatureAccumulator / 4;
        live_.gasValue = live_.wb2TemperatureAccumulator / 4 - 1320;
        break;
    }
    live_.afAccumulator = live_.afAccumulator + q - live_.afAccumulator / 4;
}

void FrameDecoder::applyWeather() {
    LiveValues& v = live_;
    if (settings_.weatherAuto == 0) {
        v.weatherSeeded = false;
        return;
    }
    const Settings& s = settings_;
    const double temperature = (data_[0] - s.weatherTemper1) * s.weatherTemper2;
    const double humidity = (data_[2] - s.weatherHumidity1) * s.weatherHumidity2;
    const double pressure = (data_[1] - s.weatherPressure1) * s.weatherPressure2;
    if (!v.weatherSeeded) {
        // the first reading is the estimate: smoothing it against nothing
        // would store a quarter of the pressure in a run recorded at once
        v.temperatureEstimate = temperature;
        v.humidityEstimate = humidity;
        v.pressureEstimate = pressure;
        v.weatherSeeded = true;
    }
    // calibrated reading weighted 1/4 against 3/4 of the previous estimate
    v.temperatureEstimate = (temperature + 3 * v.temperatureEstimate) * 0.25;
    v.humidityEstimate = std::clamp((humidity + 3 * v.humidityEstimate) * 0.25, 0.0, 100.0);
    v.pressureEstimate = (pressure + 3 * v.pressureEstimate) * 0.25;
    settings_.weatherTemperature = truncateToInt16(v.temperatureEstimate);
    settings_.weatherPressure = truncateToInt16(v.pressureEstimate);
    settings_.weatherHumidity = truncateToInt16(v.humidityEstimate);
}

void FrameDecoder::writeCommand(uint8_t byte) {
    live_.statusSeen = false;
    if (writer_) writer_->writeByte(byte);
}

void FrameDecoder::selectDevice(int index) {
    if (index == live_.deviceType) return;
    live_.deviceType = index;
    if (const DeviceType* device = deviceType(index)) live_.channelMode = device->channelMode;
}

void FrameDecoder::resetDeviceSelection() {
    live_.deviceType = -1;
    live_.channelMode = 0;
}

LiveValues& theLiveValues() {
    static LiveValues live;
    return live;
}

FrameDecoder& theFrameDecoder() {
    static FrameDecoder decoder(theLiveValues(), theSettings());
    return decoder;
}
