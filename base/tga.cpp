// The TGA reader: reading and decoding, without GL (the pixel formats are GL's numbers).
#include "base/tga.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int decodeTgaImage(const unsigned char* data, size_t size, TgaImage* image) {
    std::memset(image, 0, sizeof *image);
    if (size < 18) return TGA_REFUSED;
    if (data[1] != 0) return TGA_REFUSED;
    if (data[2] != 2 && data[2] != 3) return TGA_REFUSED;
    int width = data[12] + 256 * data[13];
    int height = data[14] + 256 * data[15];
    int depth = data[16];
    if (depth != 32 && depth != 24 && depth != 8) return TGA_REFUSED;

    int bytesPerPixel = depth / 8;
    size_t count = static_cast<size_t>(width) * height * bytesPerPixel;
    // The image ID field, when present, sits between the header and the pixels.
    size_t start = 18 + static_cast<size_t>(data[0]);
    if (start > size || size - start < count) return TGA_READ_FAILED;
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(count > 0 ? count : 1));
    if (!pixels) return TGA_READ_FAILED;
    std::memcpy(pixels, data + start, count);
    if (bytesPerPixel > 1)
        for (size_t i = 0; i < count; i += bytesPerPixel) {
            unsigned char blue = pixels[i];
            pixels[i] = pixels[i + 2];
            pixels[i + 2] = blue;
        }
    image->width = width;
    image->height = height;
    image->bytesPerPixel = bytesPerPixel;
    image->format = depth == 32 ? GL_RGBA : depth == 24 ? GL_RGB : GL_LUMINANCE;
    image->pixels = pixels;
    return 0;
}

int readTgaImage(const char* fileName, TgaImage* image) {
    std::memset(image, 0, sizeof *image);
    // Read-only: the loader never writes, and a read-only file must still load.
    FILE* file = std::fopen(fileName, "rb");
    if (!file) return TGA_REFUSED;
    std::fseek(file, 0, SEEK_END);
    long length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (length < 0) {
        std::fclose(file);
        return TGA_REFUSED;
    }
    unsigned char* data =
        static_cast<unsigned char*>(std::malloc(length > 0 ? static_cast<size_t>(length) : 1));
    size_t got = data ? std::fread(data, 1, static_cast<size_t>(length), file) : 0;
    std::fclose(file);
    if (!data) return TGA_READ_FAILED;
    int result = decodeTgaImage(data, got, image);
    std::free(data);
    return result;
}
