// TGA reader: the accepted types and depths to exact texels, and the refusals.
#include "base/tga.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> tgaHeader(int type, int mapType, int width, int height, int depth,
                                     int idLength = 0) {
    std::vector<unsigned char> h(18, 0);
    h[0] = idLength;
    h[1] = mapType;
    h[2] = type;
    h[12] = width & 255, h[13] = width >> 8;
    h[14] = height & 255, h[15] = height >> 8;
    h[16] = depth;
    for (int i = 0; i < idLength; ++i)
        h.push_back('#');
    return h;
}

// Claims an image ID of 'length' bytes without adding them.
std::vector<unsigned char> withIdLength(std::vector<unsigned char> file, int length) {
    file[0] = static_cast<unsigned char>(length);
    return file;
}

std::vector<unsigned char> append(std::vector<unsigned char> a, const std::vector<unsigned char>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(TgaImage, DecodesAcceptedFilesToExactTexels) {
    struct Case {
        const char* what;
        std::vector<unsigned char> file;
        int width, height;
        unsigned format;
        std::vector<unsigned char> texels;
    };
    std::vector<unsigned char> odd(3 * 5 * 3);
    for (size_t i = 0; i < odd.size(); ++i)
        odd[i] = static_cast<unsigned char>(i);
    std::vector<unsigned char> oddRgb = odd;
    for (size_t i = 0; i < oddRgb.size(); i += 3)
        std::swap(oddRgb[i], oddRgb[i + 2]);
    const Case cases[] = {
        {"red then blue",
         append(tgaHeader(2, 0, 2, 1, 24), {0, 0, 255, 255, 0, 0}),
         2,
         1,
         GL_RGB,
         {255, 0, 0, 0, 0, 255}},
        {"3 x 5", append(tgaHeader(2, 0, 3, 5, 24), odd), 3, 5, GL_RGB, oddRgb},
        {"32-bit BGRA", append(tgaHeader(2, 0, 1, 1, 32), {10, 20, 30, 40}), 1, 1, GL_RGBA, {30, 20, 10, 40}},
        {"greyscale", append(tgaHeader(3, 0, 2, 2, 8), {1, 2, 3, 4}), 2, 2, GL_LUMINANCE, {1, 2, 3, 4}},
        {"image ID skipped", append(tgaHeader(2, 0, 1, 1, 24, 5), {1, 2, 3}), 1, 1, GL_RGB, {3, 2, 1}},
        {"extra bytes after the pixels",
         append(tgaHeader(3, 0, 1, 1, 8), {9, 8, 7}),
         1,
         1,
         GL_LUMINANCE,
         {9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TgaImage image;
        ASSERT_EQ(decodeTgaImage(c.file.data(), c.file.size(), &image), 0);
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.format, c.format);
        EXPECT_EQ(std::vector<unsigned char>(image.pixels, image.pixels + c.texels.size()), c.texels);
        std::free(image.pixels);
    }
}

TEST(TgaImage, RefusesWhatItCannotRead) {
    struct Case {
        const char* what;
        std::vector<unsigned char> file;
        int result;
    };
    const Case cases[] = {
        {"run-length encoded", append(tgaHeader(10, 0, 1, 1, 24), {1, 2, 3}), TGA_REFUSED},
        {"colour-mapped", append(tgaHeader(1, 1, 1, 1, 8), {0}), TGA_REFUSED},
        {"colour map on a true-colour file", append(tgaHeader(2, 1, 1, 1, 24), {1, 2, 3}), TGA_REFUSED},
        {"16 bits", append(tgaHeader(2, 0, 1, 1, 16), {1, 2}), TGA_REFUSED},
        {"header cut short", std::vector<unsigned char>(10, 0), TGA_REFUSED},
        {"pixels cut short", append(tgaHeader(2, 0, 2, 2, 24), {1, 2, 3, 4, 5}), TGA_READ_FAILED},
        {"ID field past the end", withIdLength(append(tgaHeader(2, 0, 1, 1, 24), {1, 2, 3}), 255),
         TGA_READ_FAILED},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> exact(c.file); // exactly sized, for the sanitizer
        TgaImage image;
        EXPECT_EQ(decodeTgaImage(exact.data(), exact.size(), &image), c.result) << c.what;
    }
}

TEST(TgaImage, ReadsFilesAndRefusesAMissingOne) {
    std::string path = testing::TempDir() + "tga_test_image.tga";
    std::vector<unsigned char> file = append(tgaHeader(2, 0, 2, 1, 24), {0, 0, 255, 255, 0, 0});
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    TgaImage image;
    ASSERT_EQ(readTgaImage(path.c_str(), &image), 0);
    EXPECT_EQ(image.pixels[0], 255);
    EXPECT_EQ(image.pixels[5], 255);
    std::free(image.pixels);
    std::remove(path.c_str());
    EXPECT_EQ(readTgaImage("no_such_file.tga", &image), TGA_REFUSED);
}

} // namespace
