// The JPEG reader: row order, greyscale expansion, and the files it refuses.
#include "assets/image_writers.h"
#include "base/jpeg.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

// Writes a JPEG of 'components' bytes a pixel, rows given bottom first, into the scratch folder.
std::string jpegFile(const char* name, int width, int height, int components, const Bytes& pixels) {
    EXPECT_TRUE(writeJpegFile(testing::TempDir(), name, width, height, pixels.data(), 100, components));
    return testing::TempDir() + "/" + name;
}

TEST(ReadJpeg, StoresTheLastFileRowFirstAndExpandsGreyscale) {
    // The file's first row is white, its second black.
    std::string path = jpegFile("rows.jpg", 2, 2, 3, {0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255});
    int rowLength = 0, height = 0;
    unsigned char* pixels = readJpeg(path.c_str(), &rowLength, &height);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(rowLength, 6);
    EXPECT_EQ(height, 2);
    for (int i = 0; i < 6; ++i) {
        EXPECT_LT(pixels[i], 40) << "block row 0 is the second file row";
        EXPECT_GT(pixels[6 + i], 215) << "block row 1 is the first file row";
    }
    std::free(pixels);

    pixels = readJpeg(jpegFile("grey.jpg", 2, 1, 1, {200, 200}).c_str(), &rowLength, &height);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(rowLength, 6); // three bytes a pixel, so the texture width rowLength / 3 is 2
    EXPECT_NEAR(pixels[4], 200, 3);
    std::free(pixels);
}

// A missing file, and a frame header claiming more than JPEG_MAX_SIDE pixels on a side, refused before its
// rows are allocated (a 349-byte file once asked for 12 GB; found by fuzz/jpeg_fuzz). Cut files are the
// damage table's (tests/e2e/damage.cpp).
TEST(ReadJpeg, RefusesAMissingFileAndSidesAboveTheLimit) {
    std::string path = jpegFile("huge.jpg", 8, 8, 3, Bytes(8 * 8 * 3, 90));
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    ASSERT_NE(file, nullptr);
    Bytes data(4096);
    data.resize(std::fread(data.data(), 1, data.size(), file));
    size_t sof = 2;
    while (sof + 9 < data.size() && !(data[sof] == 0xFF && data[sof + 1] == 0xC0))
        ++sof;
    ASSERT_LT(sof + 9, data.size()) << "no baseline frame header";
    // Frame header: marker, length (2), precision (1), height (2), width (2), big-endian.
    data[sof + 7] = (JPEG_MAX_SIDE + 1) >> 8;
    data[sof + 8] = (JPEG_MAX_SIDE + 1) & 0xFF;
    std::rewind(file);
    ASSERT_EQ(std::fwrite(data.data(), 1, data.size(), file), data.size());
    std::fclose(file);
    const struct {
        std::string path, message;
    } cases[] = {{"no_such_file.jpg", "can't open no_such_file.jpg\n"},
                 {path, path + ": not a readable JPEG (8193 x 8 pixels, more than 8192 on a side)"}};
    for (const auto& c : cases) {
        int rowLength = 7, height = 7;
        testing::internal::CaptureStderr();
        EXPECT_EQ(readJpeg(c.path.c_str(), &rowLength, &height), nullptr);
        std::string message = testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_EQ(rowLength + height, 0);
    }
}

} // namespace
