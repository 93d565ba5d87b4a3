// Image writers of the asset generator: 24-bit BMP and RGB JPEG files from packed RGB pixels.
#pragma once

#include <string>

// 'pixels' holds width * height * 3 bytes, R, G, B, rows packed, the BOTTOM row first (as the loaders
// return them and as GL uploads them). Each returns false after a message when the file can't be written.
bool writeBmpFile(const std::string& folder, const char* name, int width, int height,
                  const unsigned char* pixels);
// 'components' 1 writes a greyscale JPEG from one byte a pixel.
bool writeJpegFile(const std::string& folder, const char* name, int width, int height,
                   const unsigned char* pixels, int quality = 90, int components = 3);
