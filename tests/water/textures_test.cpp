// Water and sky textures without GL: JPEG row order and failures, the normalisation cube's texels,
// the black-key alpha and the sky dome's rings.
#include "assets/image_writers.h"
#include "water/sky.h"
#include "water/textures.h"

#include <gtest/gtest.h>

#include <cmath>
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

// A missing file and a frame header claiming more than JPEG_MAX_SIDE pixels on a side are refused, the
// latter before its rows are allocated (a 349-byte file once asked for 12 GB; found by fuzz/jpeg_fuzz).
// Cut files are the damage table's (tests/e2e/damage.cpp).
TEST(ReadJpeg, RefusesAMissingFileAndSidesAboveTheLimit) {
    int rowLength = 7, height = 7;
    testing::internal::CaptureStderr();
    EXPECT_EQ(readJpeg("no_such_file.jpg", &rowLength, &height), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't open no_such_file.jpg\n");
    EXPECT_EQ(rowLength + height, 0);

    std::string path = jpegFile("huge.jpg", 8, 8, 3, Bytes(8 * 8 * 3, 90));
    for (unsigned side : {8u, unsigned(JPEG_MAX_SIDE) + 1}) {
        FILE* file = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(file, nullptr);
        Bytes data(4096);
        data.resize(std::fread(data.data(), 1, data.size(), file));
        size_t sof = 2;
        while (sof + 9 < data.size() && !(data[sof] == 0xFF && data[sof + 1] == 0xC0))
            ++sof;
        ASSERT_LT(sof + 9, data.size()) << "no baseline frame header";
        // Frame header: marker, length (2), precision (1), height (2), width (2), big-endian.
        data[sof + 7] = side >> 8;
        data[sof + 8] = side & 0xFF;
        std::rewind(file);
        ASSERT_EQ(std::fwrite(data.data(), 1, data.size(), file), data.size());
        std::fclose(file);
        rowLength = height = 7;
        testing::internal::CaptureStderr();
        unsigned char* pixels = readJpeg(path.c_str(), &rowLength, &height);
        std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(pixels != nullptr, side == 8) << side;
        if (side != 8) {
            EXPECT_NE(message.find("huge.jpg: not a readable JPEG"), std::string::npos) << message;
            EXPECT_NE(message.find("more than 8192 on a side"), std::string::npos) << message;
            EXPECT_EQ(rowLength + height, 0);
        }
        std::free(pixels);
    }
}

TEST(NormalizeCube, TexelsOfPlusXAndTheFaceAxes) {
    Bytes face(32 * 32 * 3);
    computeNormalizeCubeFace(32, 0, face.data());
    const struct {
        int row, column;
        Bytes rgb;
    } plusX[] = {{0, 0, {201, 199, 199}}, {15, 15, {253, 130, 130}}, {31, 31, {201, 54, 54}}};
    for (const auto& t : plusX) {
        const unsigned char* p = &face[(t.row * 32 + t.column) * 3];
        EXPECT_EQ(Bytes(p, p + 3), t.rgb) << t.row << "," << t.column;
    }
    // Faces +X, -X, +Y, -Y, +Z, -Z: the centre texel points (almost) straight along the face's axis.
    for (int f = 0; f < 6; ++f) {
        computeNormalizeCubeFace(32, f, face.data());
        EXPECT_EQ(face[(16 * 32 + 16) * 3 + f / 2], f % 2 == 0 ? 253 : 0) << "face " << f;
    }
}

TEST(BlackKeyAlpha, AnyZeroChannelIsTransparent) {
    const unsigned char rgb[] = {0, 200, 200, 0, 0, 0, 1, 1, 1, 200, 0, 7, 9, 9, 0, 255, 255, 255};
    const Bytes rgba = {0,   200, 200, 0, 0, 0, 0, 0, 1,   1,   1,   255,
                        200, 0,   7,   0, 9, 9, 0, 0, 255, 255, 255, 255};
    unsigned char* got = addBlackKeyAlpha(3, 2, rgb);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(Bytes(got, got + rgba.size()), rgba);
    std::free(got);
}

TEST(SkyDome, RingsRunFromThePoleToTheHorizon) {
    static float dome[SKY_RINGS][SKY_RING_POINTS][3];
    buildSkyDome(SKY_RADIUS, dome);
    for (int r = 0; r < SKY_RINGS; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(dome[r][0][c], dome[r][SKY_RING_POINTS - 1][c], 1e-2) << "ring " << r << " closes";
    EXPECT_NEAR(dome[0][3][2], SKY_RADIUS, 1e-3) << "the pole";
    EXPECT_NEAR(dome[SKY_RINGS - 1][3][2], 0, 1e-2) << "the horizon";
    // Point 5 of the horizon ring lies at 60 degrees.
    EXPECT_NEAR(dome[7][5][0], 500.0, 1e-2);
    EXPECT_NEAR(dome[7][5][1], 866.025, 1e-2);
}

} // namespace
