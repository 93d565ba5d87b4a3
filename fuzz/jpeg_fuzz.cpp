// Feeds each input to the GL-free JPEG decoder (readJpeg) as a file on disk, the way the sky and the
// bottom images are read.
#include "fuzz_input.h"
#include "base/jpeg.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quietStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int rowLength = 0, height = 0;
    unsigned char* pixels = readJpeg(fuzz::writeScratchFile(data, size, "image.jpg"), &rowLength, &height);
    if (pixels) {
        unsigned sum = 0;
        for (size_t i = 0; i < size_t(rowLength) * height; ++i)
            sum += pixels[i];
        (void)sum;
    } else if (rowLength != 0 || height != 0) {
        std::abort();
    }
    std::free(pixels);
    return 0;
}
