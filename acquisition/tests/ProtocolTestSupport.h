#pragma once
// A decoder on its own live values and settings, with a run whose state the
// test sets and a writer that keeps every command byte.
#include <cstdint>
#include <vector>

#include "ControllerProtocol.h"
#include "FrameDecoder.h"
#include "LiveValues.h"
#include "Settings.h"

using Bytes = std::vector<uint8_t>;

// The controller's side of the wire, written here independently of the
// simulator: header with type and the data bytes' bit 7, then bits 6-0.
inline Bytes encodeFrame(FrameType type, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value) & 0xFFFFFF;
    Bytes out(4);
    out[0] = static_cast<uint8_t>(0x80 | (static_cast<uint8_t>(type) << 5));
    for (int i = 0; i < 3; ++i) {
        const uint8_t b = (v >> (8 * i)) & 0xFF;
        if (b & 0x80) out[0] |= 1 << i;
        out[i + 1] = b & 0x7F;
    }
    return out;
}

inline Bytes statusFrame(uint8_t b0, uint8_t b1, uint8_t b2) {
    return encodeFrame(FrameType::Status, b0 | (b1 << 8) | (b2 << 16));
}

inline Bytes weatherFrame(uint8_t b0, uint8_t b1, uint8_t b2) {
    return encodeFrame(FrameType::Weather, b0 | (b1 << 8) | (b2 << 16));
}

struct KeptCommands : CommandWriter {
    Bytes bytes;
    bool writeByte(uint8_t byte) override {
        bytes.push_back(byte);
        return true;
    }
};

struct ScriptedRun : RunStateSource, RollerFrameConsumer {
    RunState state = RunState::Idle;
    std::vector<int32_t> rollerFrames;
    int applied = 0;
    RunState runState() const override { return state; }
    void rollerFrame(int32_t period) override { rollerFrames.push_back(period); }
    void frameApplied() override { ++applied; }
};

struct DecoderRig {
    Settings settings;
    LiveValues live;
    KeptCommands commands;
    ScriptedRun run;
    FrameDecoder decoder{live, settings};

    DecoderRig() {
        decoder.setCommandWriter(&commands);
        decoder.setRun(&run, &run);
    }
    // As the measurement dialog leaves it after opening with device `device`.
    explicit DecoderRig(int device) : DecoderRig() {
        decoder.resetDeviceSelection();
        decoder.selectDevice(device);
    }
    void feed(const Bytes& bytes) {
        for (uint8_t b : bytes) decoder.feedByte(b);
    }
    void feed(const Bytes& bytes, int times) {
        for (int i = 0; i < times; ++i) feed(bytes);
    }
    // The command bytes written while feeding `bytes`.
    Bytes commandsFor(const Bytes& bytes) {
        commands.bytes.clear();
        feed(bytes);
        return commands.bytes;
    }
};

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
