// Feeds the stroke sample reader (readStrokeFile) with each input as the "fstroke.stroke" text stream.
#include "canoe/stroke_samples.h"
#include "fuzz_input.h"

#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quietStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    bool ok = readStrokeFile(in);
    // The rocking indexes the tables by sampleCount; it must stay within them, and 0 when refused.
    if (strokeSamples.sampleCount < 0 || strokeSamples.sampleCount > STROKE_CAPACITY) std::abort();
    if (ok != (strokeSamples.sampleCount > 0)) std::abort();
    return 0;
}
