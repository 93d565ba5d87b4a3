// Feeds each input to the BMP reader as a file on disk (loadBmpImage), the way the textures are read.
#include "base/bmp.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quietStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RgbImage* image = loadBmpImage(fuzz::writeScratchFile(data, size, "image.bmp"));
    if (image) {
        // Touch every pixel so that a short buffer shows up here rather than in the GL upload.
        unsigned sum = 0;
        for (size_t i = 0; i < size_t(image->width) * image->height * 3; ++i)
            sum += image->pixels[i];
        (void)sum;
    }
    freeRgbImage(image);
    return 0;
}
