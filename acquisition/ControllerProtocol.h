#pragma once
// The controller's byte protocol as the program sees it: frame types, command
// bytes, and the three parties the decoder talks to besides the live values:
// the measurement run (its state and its appetite for roller frames) and the
// link that carries command bytes back to the controller.
#include <cstdint>

#include "FrameType.h"
#include "LineFault.h"

// The measurement run's state: commands go to the controller only while idle.
enum class RunState : int { Idle = 0, Waiting = 1, Recording = 2 };

// Command bytes. The low bits carry the wanted setting; the controller echoes
// it in its status frames.
constexpr uint8_t kModeCommand = 0x50;        // | channel mode 0, 1, 2
constexpr uint8_t kRatioCommand = 0x60;       // | ratio code 1, 3, 7
constexpr uint8_t kPulseCountCommand = 0x70;  // | pulse-count index 0..15

constexpr int kRelationCount = 3;  // "1:2|1:1|2:1"

// The ratio code the controller echoes for a Record/Relation index (1, 3 or
// 7), or 0 for an index outside the list.
constexpr uint8_t ratioCode(int relation) {
    return relation >= 0 && relation < kRelationCount ? static_cast<uint8_t>((2 << relation) - 1) : 0;
}

// Whatever takes the received bytes one at a time (the frame decoder).
class ByteConsumer {
public:
    virtual ~ByteConsumer() = default;
    virtual void feedByte(uint8_t byte) = 0;
};

// Whatever carries a command byte to the controller (the serial link).
// Returns the write's success; the protocol never checks it, because it
// repeats a command until the status frames agree.
class CommandWriter {
public:
    virtual ~CommandWriter() = default;
    virtual bool writeByte(uint8_t byte) = 0;
};

// The measurement run's state as the decoder asks for it on status frames.
class RunStateSource {
public:
    virtual ~RunStateSource() = default;
    virtual RunState runState() const = 0;
};

// The measurement run's side of the frame stream: every roller-period frame
// (value in 0.5 us ticks, after the live roller period has been set), and a
// call after every complete frame of any type, where the run updates its
// gear-ratio estimate. Before a damaged frame, and where the stream shows
// that frames went missing, it hears of the fault.
class RollerFrameConsumer {
public:
    virtual ~RollerFrameConsumer() = default;
    virtual void rollerFrame(int32_t period) = 0;
    virtual void frameApplied() = 0;
    virtual void lineFault(const LineFault&) {}
};
