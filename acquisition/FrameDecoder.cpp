#include "FrameDecoder.h"

#include <algorithm>

#include "DeviceTypes.h"

void FrameDecoder::feedByte(uint8_t byte) {
    if (position_ < 0) {
        if (byte > 0x7F) {  // anything else outside a frame is noise
            position_ = 0;
            type_ = static_cast<FrameType>((byte >> 5) & 3);
            mask_ = byte & 7;
        }
        return;
    }
    // inside a frame every byte is data, whatever its bit 7
    if (mask_ & (1 << position_)) byte |= 0x80;
    data_[position_] = byte;
    if (++position_ < 3) return;
    position_ = -1;
    applyFrame();
}

void FrameDecoder::applyFrame() {
    const int32_t raw = data_[0] | (data_[1] << 8) | (data_[2] << 16);
    // bit 7 of the third byte is the sign
    const int32_t value = raw & 0x800000 ? raw - 0x1000000 : raw;
    last_.type = type_;
    std::copy(data_, data_ + 3, last_.bytes);
    last_.value = value;
    ++frameCount_;

    switch (type_) {
    case FrameType::EnginePeriod:
        applyEnginePeriod(value);
        break;
    case FrameType::RollerPeriod:
        live_.rollerPeriod = value;
        if (rollerConsumer_) rollerConsumer_->rollerFrame(value);
        break;
    case FrameType::Status:
        applyStatus();
        break;
    case FrameType::Weather:
        applyWeather();
        break;
    }
    if (rollerConsumer_) rollerConsumer_->frameApplied();
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
