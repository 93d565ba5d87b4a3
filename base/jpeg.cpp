// Decoding a JPEG file through libjpeg.
#include "base/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>

// A damaged JPEG jumps back to readJpeg instead of ending the process.
struct JpegErrorManager {
    jpeg_error_mgr standard;
    jmp_buf recover;
    const char* fileName;
};

static void jpegFailed(j_common_ptr info) {
    JpegErrorManager* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    std::fprintf(stderr, "%s: not a readable JPEG (%s)\n", manager->fileName, message);
    std::longjmp(manager->recover, 1);
}

// libjpeg's warnings (a file cut short decodes with grey rows) name the file too.
static void jpegWarned(j_common_ptr info) {
    JpegErrorManager* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    std::fprintf(stderr, "%s: %s\n", manager->fileName, message);
}

unsigned char* readJpeg(const char* fileName, int* rowLength, int* height) {
    *rowLength = 0;
    *height = 0;
    FILE* file = std::fopen(fileName, "rb");
    if (!file) {
        std::fprintf(stderr, "can't open %s\n", fileName);
        return nullptr;
    }
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = jpegFailed;
    errors.standard.output_message = jpegWarned;
    errors.fileName = fileName;
    // Volatile: it changes between setjmp and a possible longjmp.
    unsigned char* volatile pixels = nullptr;
    if (setjmp(errors.recover)) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        std::free(pixels);
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    // A header of a few bytes can claim 65500 x 65500 pixels: 12 GB of rows, and minutes of decoding
    // of made-up scan data. No picture of this scene comes near the limit.
    if (info.image_width > JPEG_MAX_SIDE || info.image_height > JPEG_MAX_SIDE) {
        std::fprintf(stderr, "%s: not a readable JPEG (%u x %u pixels, more than %d on a side)\n", fileName,
                     static_cast<unsigned>(info.image_width), static_cast<unsigned>(info.image_height),
                     JPEG_MAX_SIDE);
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return nullptr;
    }
    // Greyscale files are expanded so that every row holds three bytes a pixel.
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    int length = static_cast<int>(info.output_width * info.output_components);
    int rows = static_cast<int>(info.output_height);
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, length, 1);
    pixels = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(length) * rows));
    if (!pixels) {
        std::fprintf(stderr, "%s: out of memory\n", fileName);
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return nullptr;
    }
    while (static_cast<int>(info.output_scanline) < rows) {
        jpeg_read_scanlines(&info, row, 1);
        // The first file row lands in the last block row: the block is bottom-up like GL's textures.
        std::memcpy(pixels + static_cast<size_t>(rows - info.output_scanline) * length, row[0], length);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    *rowLength = length;
    *height = rows;
    return pixels;
}
