// Random bytes never upset the decoder (ASan/UBSan watch the arithmetic);
// a bounded version of the fuzz target that runs with every test run.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "DecoderFuzzCase.h"

namespace {

TEST(RandomBytes, NeverBreakTheDecoder) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 400; ++round) {
        std::vector<uint8_t> data(4 + random() % 2000);
        const bool headerHeavy = round % 2;  // many headers make many frames
        for (uint8_t& b : data) b = static_cast<uint8_t>(random() | (headerHeavy && random() % 4 == 0 ? 0x80 : 0));
        const std::string failure = runDecoderFuzzCase(data.data(), data.size());
        ASSERT_TRUE(failure.empty()) << "round " << round << ": " << failure;
    }
}

TEST(RandomBytes, StreamOfValidFramesAfterGarbageIsDecodedExactly) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        DecoderRig rig;
        Bytes garbage(random() % 64);
        for (uint8_t& b : garbage) b = static_cast<uint8_t>(random());
        rig.feed(garbage);
        // at most the three bytes after the garbage's last header are taken as data
        rig.feed(Bytes(3, 0x00));
        rig.run.rollerFrames.clear();
        std::vector<int32_t> sent;
        for (int i = 0; i < 20; ++i) {
            const int32_t value = static_cast<int32_t>(random() % 0x1000000) - 0x800000;
            sent.push_back(value);
            rig.feed(encodeFrame(FrameType::RollerPeriod, value));
        }
        EXPECT_EQ(rig.run.rollerFrames, sent) << "round " << round;
    }
}

}  // namespace
