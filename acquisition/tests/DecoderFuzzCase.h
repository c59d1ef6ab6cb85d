#pragma once
// One fuzz case for the decoder, shared by the libFuzzer target and the
// bounded random-bytes test: the first bytes choose the device, the run state
// and the settings, the rest is the received stream. Returns an empty text
// when every invariant held, else what broke.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ProtocolTestSupport.h"

inline bool isProtocolCommand(uint8_t b) {
    return (b >= 0x50 && b <= 0x52) || b == 0x61 || b == 0x63 || b == 0x67 || (b >= 0x70 && b <= 0x7F);
}

inline std::string runDecoderFuzzCase(const uint8_t* data, size_t size) {
    if (size < 4) return {};
    DecoderRig rig(static_cast<int>(data[0] % 9) - 1);
    rig.run.state = static_cast<RunState>(data[1] % 3);
    rig.settings.hardwarePulseCount = static_cast<int8_t>(data[2]);
    rig.settings.recordRelation = static_cast<int16_t>(data[3] % 5) - 1;
    rig.settings.weatherAuto = data[3] & 0x80 ? 0 : 1;
    for (size_t i = 4; i < size; ++i) {
        const size_t before = rig.commands.bytes.size();
        rig.decoder.feedByte(data[i]);
        const LiveValues& v = rig.live;
        for (size_t k = before; k < rig.commands.bytes.size(); ++k) {
            if (!isProtocolCommand(rig.commands.bytes[k])) return "wrote a byte outside the protocol";
            if (rig.run.state != RunState::Idle) return "wrote a command outside the idle state";
        }
        if (v.enginePeriod < 0 || v.engineAccumulator < 0) return "negative engine period";
        if (v.engineSpeed() < 0 || v.rollerSpeed(1.25) < 0) return "negative speed";
        if (!(v.humidityEstimate >= 0 && v.humidityEstimate <= 100)) return "humidity outside 0..100";
        if (rig.settings.weatherHumidity < 0 || rig.settings.weatherHumidity > 100) return "stored humidity outside 0..100";
        if (v.statusSeen && rig.commands.bytes.size() != before) return "status seen after a command";
    }
    return {};
}
