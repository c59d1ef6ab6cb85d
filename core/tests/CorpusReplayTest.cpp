// Replays the fuzzer's corpus of interesting files through the real reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "MeasurementFile.h"

TEST(MeasurementCorpus, EveryFileIsReadOrRefusedCleanly) {
    int files = 0, accepted = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KX_CORPUS_DIR)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream buffer;
        buffer << in.rdbuf();
        const std::string data = buffer.str();
        ++files;
        Measurement m;
        int version = 0;
        if (!parseMeasurement(reinterpret_cast<const unsigned char*>(data.data()), data.size(), m,
                              MeasurementReadContext(), &version)) {
            EXPECT_EQ(m.sampleCount, 0) << entry.path();
            EXPECT_TRUE(m.times.empty()) << entry.path();
            continue;
        }
        ++accepted;
        EXPECT_LE(m.sampleCount, kMaxSamples) << entry.path();
        EXPECT_EQ(m.times.size(), m.sampleCount) << entry.path();
        EXPECT_EQ(m.hasLambda(), version == 12) << entry.path();
        // what was accepted writes and reads back unchanged
        const std::string again = serializeMeasurement(m);
        Measurement back;
        ASSERT_TRUE(parseMeasurement(reinterpret_cast<const unsigned char*>(again.data()), again.size(), back,
                                     MeasurementReadContext()));
        EXPECT_EQ(back.times, m.times) << entry.path();
        EXPECT_EQ(back.comment.size(), std::min<size_t>(m.comment.size(), 65534)) << entry.path();
    }
    EXPECT_GT(files, 3);
    EXPECT_GT(accepted, 0);
}
