// The BMP reader. The whole file is read into memory and decoded here: every offset and count the
// header gives is checked against the file's length before it is used.
#include "base/bmp.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static uint32_t readU16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}
static uint32_t readU32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

static RgbImage* refuse(const char* name, const char* message, const char* detail) {
    std::printf("%s: %s%s\n", name, message, detail);
    return nullptr;
}

// The header fields the decoder needs, in the 40-byte form whichever header the file has.
struct DibHeader {
    int64_t width, height; // height below zero: rows stored top row first
    uint32_t bitsPerPixel, compression, coloursUsed;
    size_t paletteEntrySize; // 4 for the 40-byte header, 3 for the core header
    size_t headerSize;
};

static bool readDibHeader(const unsigned char* p, size_t available, DibHeader* h) {
    if (available < 4) return false;
    h->headerSize = readU32(p);
    if (h->headerSize == 12 && available >= 12) {
        h->width = readU16(p + 4);
        h->height = readU16(p + 6);
        h->bitsPerPixel = readU16(p + 10);
        h->compression = 0;
        h->coloursUsed = 0;
        h->paletteEntrySize = 3;
        return true;
    }
    if (h->headerSize == 40 && available >= 40) {
        h->width = static_cast<int32_t>(readU32(p + 4));
        h->height = static_cast<int32_t>(readU32(p + 8));
        h->bitsPerPixel = readU16(p + 14);
        h->compression = readU32(p + 16);
        h->coloursUsed = readU32(p + 32);
        h->paletteEntrySize = 4;
        return true;
    }
    return false;
}

static uint32_t defaultPaletteCount(uint32_t bitsPerPixel) {
    if (bitsPerPixel == 1) return 2;
    if (bitsPerPixel == 4) return 16;
    if (bitsPerPixel == 8) return 256;
    return 0;
}

// One pixel of a stored row as R, G, B; palette indices beyond the palette give black.
static void decodePixel(const unsigned char* row, int64_t x, const DibHeader& h,
                        const unsigned char palette[256][3], unsigned char* out) {
    uint32_t index = 0;
    switch (h.bitsPerPixel) {
    case 1:
        index = (row[x / 8] >> (7 - x % 8)) & 1;
        break;
    case 4:
        index = (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15;
        break;
    case 8:
        index = row[x];
        break;
    case 24:
    case 32: {
        const unsigned char* bgr = row + x * (h.bitsPerPixel / 8);
        out[0] = bgr[2];
        out[1] = bgr[1];
        out[2] = bgr[0];
        return;
    }
    }
    std::memcpy(out, palette[index], 3);
}

RgbImage* decodeBmpImage(const unsigned char* data, size_t size, const char* name) {
    size_t headerStart = 0;
    bool hasFileHeader = size >= 2 && data[0] == 'B' && data[1] == 'M';
    uint32_t pixelOffset = 0;
    if (hasFileHeader) {
        if (size < 14) return refuse(name, "Unknown DIB file format.", " (the file header is cut short)");
        pixelOffset = readU32(data + 10);
        headerStart = 14;
    }
    DibHeader h;
    if (!readDibHeader(data + headerStart, size - headerStart, &h))
        return refuse(name, "Unknown DIB file format.", "");

    uint32_t bpp = h.bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        return refuse(name, "Image file conversion error.", " (unsupported bits per pixel)");
    if (h.compression != 0)
        return refuse(name, "Image file conversion error.", " (compressed bitmaps are not read)");
    int64_t rows = h.height < 0 ? -h.height : h.height;
    if (h.width <= 0 || rows == 0 || h.width > 65535 || rows > 65535)
        return refuse(name, "Image file conversion error.", " (bad width or height)");

    uint32_t paletteCount = defaultPaletteCount(bpp);
    if (h.paletteEntrySize == 4 && h.coloursUsed != 0) paletteCount = h.coloursUsed;
    size_t paletteStart = headerStart + h.headerSize;
    // Palettes above 256 entries are legal but only the first 256 can be indexed.
    if (paletteCount > (size - paletteStart) / h.paletteEntrySize)
        return refuse(name, "Image file conversion error.", " (the palette runs past the end of the file)");
    unsigned char palette[256][3] = {};
    for (uint32_t i = 0; i < paletteCount && i < 256; ++i) {
        const unsigned char* entry = data + paletteStart + i * h.paletteEntrySize;
        palette[i][0] = entry[2];
        palette[i][1] = entry[1];
        palette[i][2] = entry[0];
    }
    if (!hasFileHeader) pixelOffset = static_cast<uint32_t>(paletteStart + paletteCount * h.paletteEntrySize);

    uint64_t stride = ((static_cast<uint64_t>(h.width) * bpp + 31) / 32) * 4;
    if (pixelOffset > size || stride * rows > size - pixelOffset)
        return refuse(name, "Image file conversion error.", " (the pixel rows run past the end of the file)");

    RgbImage* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(h.width * rows * 3)));
    if (!image || !pixels) {
        std::free(image);
        std::free(pixels);
        return refuse(name, "Out of memory.", "");
    }
    for (int64_t y = 0; y < rows; ++y) {
        // Output row y is the y-th row from the bottom of the picture.
        int64_t stored = h.height < 0 ? rows - 1 - y : y;
        const unsigned char* row = data + pixelOffset + stored * stride;
        unsigned char* out = pixels + y * h.width * 3;
        for (int64_t x = 0; x < h.width; ++x)
            decodePixel(row, x, h, palette, out + x * 3);
    }
    image->width = static_cast<int>(h.width);
    image->height = static_cast<int>(rows);
    image->pixels = pixels;
    return image;
}

RgbImage* loadBmpImage(const char* fileName) {
    FILE* file = std::fopen(fileName, "rb");
    if (!file) {
        std::printf("Failed to open DIB file %s.\n", fileName);
        return nullptr;
    }
    std::fseek(file, 0, SEEK_END);
    long length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    unsigned char* data =
        length > 0 ? static_cast<unsigned char*>(std::malloc(static_cast<size_t>(length))) : nullptr;
    if (length <= 0 || !data ||
        std::fread(data, 1, static_cast<size_t>(length), file) != static_cast<size_t>(length)) {
        std::fclose(file);
        std::free(data);
        std::printf("Failed to open DIB file %s.\n", fileName);
        return nullptr;
    }
    std::fclose(file);
    RgbImage* image = decodeBmpImage(data, static_cast<size_t>(length), fileName);
    std::free(data);
    return image;
}

void freeRgbImage(RgbImage* image) {
    if (!image) return;
    std::free(image->pixels);
    std::free(image);
}
