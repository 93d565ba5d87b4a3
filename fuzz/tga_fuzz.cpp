// Feeds each input to the GL-free TGA reader as a file on disk (readTgaImage, what loadTgaTexture uploads).
#include "base/tga.h"
#include "fuzz_input.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quietStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TgaImage image;
    int result = readTgaImage(fuzz::writeScratchFile(data, size, "image.tga"), &image);
    if (result == 0) {
        // The upload reads width * height * bytesPerPixel bytes; read them all here.
        unsigned sum = 0;
        for (size_t i = 0; i < size_t(image.width) * image.height * image.bytesPerPixel; ++i)
            sum += image.pixels[i];
        (void)sum;
    } else if (result != TGA_REFUSED && result != TGA_READ_FAILED) {
        std::abort();
    }
    std::free(image.pixels);
    return 0;
}
