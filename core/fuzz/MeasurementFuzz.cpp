// libFuzzer target for the measurement file reader: whatever the bytes, the
// reader refuses or accepts cleanly, and what it accepts writes back into an
// image that reads back to the same samples.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "MeasurementFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Measurement m;
    MeasurementReadContext context;
    if (!parseMeasurement(data, size, m, context)) {
        if (m.sampleCount != 0 || !m.times.empty()) std::abort();
        return 0;
    }
    if (m.sampleCount > kMaxSamples || m.times.size() != m.sampleCount) std::abort();
    const std::string image = serializeMeasurement(m);
    Measurement back;
    if (!parseMeasurement(reinterpret_cast<const uint8_t*>(image.data()), image.size(), back, context)) std::abort();
    if (back.times != m.times || back.hasLambda() != m.hasLambda()) std::abort();
    return 0;
}
