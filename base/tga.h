// The TGA reader: uncompressed true-colour (type 2) and greyscale (type 3) files of 32, 24 or 8 bits
// per pixel, decoded into pixels ready for an OpenGL 2-D texture (platform/textures.h makes it).
#pragma once

#include <cstddef>

// Results of a TGA load besides a texture name.
const int TGA_REFUSED = -1;     // can't open, colour-mapped, compressed, or an unsupported depth
const int TGA_READ_FAILED = -2; // the pixel data is shorter than the header promises

// Pixels of one TGA file in upload order (rows as stored in the file), RGBA, RGB or luminance bytes.
struct TgaImage {
    int width;
    int height;
    int bytesPerPixel;   // 4, 3 or 1
    unsigned int format; // GL_RGBA, GL_RGB or GL_LUMINANCE
    unsigned char* pixels;
};

// Reads and decodes a TGA file without GL: 0 on success (image->pixels then holds a malloc'd buffer
// the caller frees), else TGA_REFUSED or TGA_READ_FAILED.
int readTgaImage(const char* fileName, TgaImage* image);
// The same on bytes in memory.
int decodeTgaImage(const unsigned char* data, size_t size, TgaImage* image);
