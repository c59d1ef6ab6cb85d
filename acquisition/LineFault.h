#pragma once
// What the controller's byte stream itself tells about frames that did not
// arrive as they were sent. The stream has no checksum, but the controller
// never sends a data byte with bit 7 set and every frame is four bytes: a
// data byte with bit 7 is a damaged byte or the header of the next frame,
// and data bytes outside a frame are what is left of a frame whose header
// went missing.
#include <cstdint>

#include "FrameType.h"

struct LineFault {
    enum class Kind {
        DamagedFrame,       // the frame about to be applied carries a data byte with bit 7 set
        LastFrameDamaged,   // bytes left over right after the frame applied last: bytes were inserted into it
        LostFrame,          // a frame went missing before the next one
        ImplausibleEngine,  // an engine period not taken: a jump no engine makes between two frames
    };
    Kind kind = Kind::DamagedFrame;
    FrameType type = FrameType::EnginePeriod;  // for a lost frame only when typeKnown
    bool typeKnown = true;
    // A lost frame: the values it may have carried (none: not known). When
    // its header went missing too, so did bit 7 of its data bytes.
    int candidateCount = 0;
    int32_t candidates[4] = {0, 0, 0, 0};
};
