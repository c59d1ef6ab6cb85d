#pragma once
// The decoder of the controller's byte stream. A frame is a header byte (bit
// 7 set; bits 6-5 the frame type; bits 2-0 bit 7 of the three data bytes)
// and three data bytes that form a 24-bit little-endian two's-complement
// value. There is no checksum: after a lost byte the decoder takes the next
// header as a data byte, applies one wrong frame, skips the data bytes of
// the frame after it and is in step again from the next header on.
//
// The stream still tells where it went wrong (see LineFault): the decoder
// reports damaged and lost frames to the run, applies no damaged frame to
// the live values, and while a run waits or records it holds back an engine
// period that jumps further than an engine can between two frames until
// the next one confirms it.
//
// Complete frames update the live values; status frames answered while the
// run is idle keep the controller's channel mode, pulse count and ratio in
// line with the settings, one command byte per item and frame.
#include <cstdint>

#include "ControllerProtocol.h"
#include "LiveValues.h"
#include "Settings.h"

class FrameDecoder : public ByteConsumer {
public:
    FrameDecoder(LiveValues& live, Settings& settings) : live_(live), settings_(settings) {}

    // Where command bytes go (nullptr: nowhere; status seen is still cleared).
    void setCommandWriter(CommandWriter* writer) { writer_ = writer; }
    // The measurement run; without one the run counts as idle and roller
    // frames only set the live roller period.
    void setRun(const RunStateSource* state, RollerFrameConsumer* consumer) {
        runState_ = state;
        rollerConsumer_ = consumer;
    }

    // One received byte; applies the frame it completes.
    void feedByte(uint8_t byte) override;

    // The device list's choice: device type and channel mode. Nothing happens
    // when index is the current device type; an index outside the list
    // changes only the device type.
    void selectDevice(int index);
    // As the measurement dialog opens: no device chosen, channel mode 0.
    void resetDeviceSelection();
    // A new line (another port, a port back after a failure, bytes that
    // waited in the driver since the last drain): the frame begun on the old
    // one is dropped, and the next header starts a frame.
    void dropPartialFrame() {
        position_ = -1;
        strayCount_ = 0;
        shadow_.active = false;
    }

    // The frame applied last, and how many were applied so far.
    struct Frame {
        FrameType type = FrameType::EnginePeriod;
        uint8_t bytes[3] = {0, 0, 0};  // with bit 7 restored from the header
        int32_t value = 0;             // the 24-bit value, sign-extended
    };
    const Frame& lastFrame() const { return last_; }
    uint32_t frameCount() const { return frameCount_; }

private:
    void applyFrame();
    void startFrame(uint8_t header);
    void takeStray(uint8_t byte);
    void takeIntoShadow(uint8_t byte);
    void endOfStrays();
    void report(const LineFault& fault);
    bool enginePeriodPlausible(int32_t period, int32_t value);
    void applyEnginePeriod(int32_t value);
    void applyStatus();
    void sendCommands();
    void decodeAnalogue();
    void applyWeather();
    void writeCommand(uint8_t byte);
    RunState runState() const { return runState_ ? runState_->runState() : RunState::Idle; }

    LiveValues& live_;
    Settings& settings_;
    CommandWriter* writer_ = nullptr;
    const RunStateSource* runState_ = nullptr;
    RollerFrameConsumer* rollerConsumer_ = nullptr;

    int position_ = -1;  // -1 waiting for a header, else index of the next data byte
    FrameType type_ = FrameType::EnginePeriod;
    uint8_t mask_ = 0;
    uint8_t data_[3] = {0, 0, 0};
    bool damaged_ = false;  // a data byte of this frame arrived with bit 7 set

    // Data bytes discarded outside a frame since the last header (the first
    // four kept), and the frame a data byte with bit 7 may have begun: such a
    // byte is the header of the next frame when the frame it landed in lost
    // a byte, and the bytes after it are that frame's data.
    int strayCount_ = 0;
    uint8_t strays_[4] = {0, 0, 0, 0};
    struct Shadow {
        bool active = false;
        uint8_t header = 0;
        uint8_t data[3] = {0, 0, 0};
        int count = 0;
    } shadow_;

    // the last engine period taken and one held back for confirmation
    int32_t lastEnginePeriod_ = 0;
    int32_t heldEnginePeriod_ = 0;
    Frame last_;
    uint32_t frameCount_ = 0;
};

// The program-wide instances: the decoder works on theLiveValues() and
// theSettings() and survives closing and reopening the measurement dialog.
LiveValues& theLiveValues();
FrameDecoder& theFrameDecoder();
