// libFuzzer target for the controller protocol decoder: whatever the bytes,
// the decoder keeps its invariants and only ever answers with protocol
// commands while idle.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "DecoderFuzzCase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string failure = runDecoderFuzzCase(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
