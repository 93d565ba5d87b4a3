// The BMP reader: Windows bitmap files (40-byte or 12-byte core header, with or without the 14-byte
// file header, uncompressed 1, 4, 8, 24 and 32 bits per pixel) decoded into packed RGB images.
#pragma once

#include <cstddef>

// Packed RGB rows (width * 3 bytes each, no padding), bottom row first as in the bitmap file.
struct RgbImage {
    int width;
    int height;
    unsigned char* pixels;
};

// Reads a bitmap file. Returns a new image (see freeRgbImage), or null after a message
// naming the file when the file can't be read or isn't a bitmap this reader understands.
RgbImage* loadBmpImage(const char* fileName);

// Releases an image from either reader; null is allowed.
void freeRgbImage(RgbImage* image);

// Decodes a bitmap held in memory; 'name' only labels the messages. Same results as loadBmpImage.
RgbImage* decodeBmpImage(const unsigned char* data, size_t size, const char* name);
