// TGA reader: the accepted types and depths to exact texels, and the refusals (missing files: the damage
// table, tests/e2e/damage.cpp).
#include "base/tga.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

// An 18-byte header, an image ID of 'idLength' bytes, then 'pixels'.
Bytes tga(int type, int mapType, int width, int height, int depth, const Bytes& pixels, int idLength = 0) {
    Bytes file(18, 0);
    file[0] = idLength, file[1] = mapType, file[2] = type;
    file[12] = width, file[14] = height, file[16] = depth;
    file.insert(file.end(), idLength, '#');
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

TEST(TgaImage, DecodesAcceptedFilesToExactTexels) {
    Bytes odd(3 * 5 * 3), oddRgb(odd.size()); // BGR bytes 0, 1, 2, ... and the same as RGB
    for (size_t i = 0; i < odd.size(); ++i) {
        odd[i] = i;
        oddRgb[i] = i - i % 3 + 2 - i % 3;
    }
    const struct {
        const char* what;
        Bytes file;
        int width, height;
        unsigned format;
        Bytes texels;
    } cases[] = {
        {"red then blue", tga(2, 0, 2, 1, 24, {0, 0, 255, 255, 0, 0}), 2, 1, GL_RGB, {255, 0, 0, 0, 0, 255}},
        {"3 x 5", tga(2, 0, 3, 5, 24, odd), 3, 5, GL_RGB, oddRgb},
        {"32-bit BGRA", tga(2, 0, 1, 1, 32, {10, 20, 30, 40}), 1, 1, GL_RGBA, {30, 20, 10, 40}},
        {"greyscale", tga(3, 0, 2, 2, 8, {1, 2, 3, 4}), 2, 2, GL_LUMINANCE, {1, 2, 3, 4}},
        {"image ID skipped", tga(2, 0, 1, 1, 24, {1, 2, 3}, 5), 1, 1, GL_RGB, {3, 2, 1}},
        {"extra bytes after the pixels", tga(3, 0, 1, 1, 8, {9, 8, 7}), 1, 1, GL_LUMINANCE, {9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TgaImage image;
        ASSERT_EQ(decodeTgaImage(c.file.data(), c.file.size(), &image), 0);
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.format, c.format);
        EXPECT_EQ(Bytes(image.pixels, image.pixels + c.texels.size()), c.texels);
        std::free(image.pixels);
    }
}

TEST(TgaImage, RefusesWhatItCannotRead) {
    const struct {
        const char* what;
        Bytes file;
        int result;
    } cases[] = {
        {"run-length encoded", tga(10, 0, 1, 1, 24, {1, 2, 3}), TGA_REFUSED},
        {"colour-mapped", tga(1, 1, 1, 1, 8, {0}), TGA_REFUSED},
        {"colour map on a true-colour file", tga(2, 1, 1, 1, 24, {1, 2, 3}), TGA_REFUSED},
        {"16 bits", tga(2, 0, 1, 1, 16, {1, 2}), TGA_REFUSED},
        {"header cut short", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0}, TGA_REFUSED},
        {"pixels cut short", tga(2, 0, 2, 2, 24, {1, 2, 3, 4, 5}), TGA_READ_FAILED},
    };
    for (const auto& c : cases) {
        Bytes exact(c.file); // no spare capacity, so that a read past the end shows under a sanitizer
        TgaImage image;
        EXPECT_EQ(decodeTgaImage(exact.data(), exact.size(), &image), c.result) << c.what;
    }
}

} // namespace
