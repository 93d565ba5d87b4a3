// Image writers of the asset generator: uncompressed 24-bit bitmaps with the 40-byte header, and
// JPEGs through libjpeg's compressor.
#include "assets/image_writers.h"

#include "assets/writers.h"

#include <cstdio>
#include <jpeglib.h>
#include <vector>

static void putU16(std::vector<unsigned char>& out, unsigned value) {
    out.push_back(value & 255);
    out.push_back((value >> 8) & 255);
}
static void putU32(std::vector<unsigned char>& out, unsigned value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

bool writeBmpFile(const std::string& folder, const char* name, int width, int height,
                  const unsigned char* pixels) {
    int stride = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    putU32(out, 54 + stride * height);
    putU32(out, 0);
    putU32(out, 54);
    putU32(out, 40);
    putU32(out, width);
    putU32(out, height);
    putU16(out, 1);
    putU16(out, 24);
    putU32(out, 0);
    putU32(out, stride * height);
    putU32(out, 2835);
    putU32(out, 2835);
    putU32(out, 0);
    putU32(out, 0);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = pixels + static_cast<size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3]);
        }
        for (int pad = width * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return writeAssetBytes(folder, name, out);
}

bool writeJpegFile(const std::string& folder, const char* name, int width, int height,
                   const unsigned char* pixels, int quality, int components) {
    FILE* file = openAssetFile(folder, name);
    if (!file) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    // The file holds the top row first; the pixels are bottom row first.
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(pixels) +
                       static_cast<size_t>(height - 1 - info.next_scanline) * width * components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    bool ok = std::fclose(file) == 0;
    if (!ok) std::fprintf(stderr, "canoe_assets: can't write %s/%s\n", folder.c_str(), name);
    return ok;
}
