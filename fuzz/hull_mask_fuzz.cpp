// Feeds the hull mask reader (readGunwaleMask) with each input as the "gunwale.mask" text stream.
#include "fuzz_input.h"
#include "water/gunwale_mask.h"

#include <sstream>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quietStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    readGunwaleMask(in);
    return 0;
}
