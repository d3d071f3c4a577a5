// One libFuzzer target per property: FUZZ_PROPERTY names the check of FuzzProperties.h.
#include "FuzzProperties.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string broken = FUZZ_PROPERTY(data, size);
    if (!broken.empty()) {
        std::fprintf(stderr, "property broken: %s\n", broken.c_str());
        std::abort(); // libFuzzer keeps the input as a crash artifact
    }
    return 0;
}
