// Water and sky textures without GL: JPEG row order and failures, the normalisation cube's texels,
// the black-key alpha and the sky dome's rings.
#include "water/sky.h"
#include "water/textures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <string>
#include <vector>

namespace {

// Writes a JPEG whose file rows are given top first, 'components' bytes a pixel.
std::string writeTestJpeg(const char* name, int width, int height, int components,
                          const std::vector<unsigned char>& fileRows) {
    std::string path = testing::TempDir() + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(fileRows.data()) + info.next_scanline * width * components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
    return path;
}

TEST(ReadJpeg, StoresTheLastFileRowFirst) {
    // File row 0 white, file row 1 black.
    std::string path = writeTestJpeg("rows.jpg", 2, 2, 3, {255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0});
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
    std::remove(path.c_str());
}

TEST(ReadJpeg, ExpandsGreyscaleToThreeBytesAPixel) {
    std::string path = writeTestJpeg("grey.jpg", 2, 1, 1, {200, 200});
    int rowLength = 0, height = 0;
    unsigned char* pixels = readJpeg(path.c_str(), &rowLength, &height);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(rowLength, 6); // the texture width is rowLength / 3 = 2
    EXPECT_NEAR(pixels[4], 200, 3);
    std::free(pixels);
    std::remove(path.c_str());
}

TEST(ReadJpeg, FailsCleanlyOnMissingAndDamagedFiles) {
    int rowLength = 7, height = 7;
    testing::internal::CaptureStderr();
    EXPECT_EQ(readJpeg("no_such_file.jpg", &rowLength, &height), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't open no_such_file.jpg\n");
    EXPECT_EQ(rowLength, 0);
    EXPECT_EQ(height, 0);

    std::string path = writeTestJpeg("damaged.jpg", 16, 16, 3, std::vector<unsigned char>(16 * 16 * 3, 90));
    for (long keep : {0L, 2L, 20L, 200L}) {
        // Keep only the first 'keep' bytes of the file.
        FILE* file = std::fopen(path.c_str(), "rb");
        std::vector<unsigned char> bytes(4096);
        size_t size = std::fread(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        std::string cut = testing::TempDir() + "cut.jpg";
        file = std::fopen(cut.c_str(), "wb");
        std::fwrite(bytes.data(), 1, std::min<size_t>(keep, size), file);
        std::fclose(file);
        testing::internal::CaptureStderr();
        unsigned char* pixels = readJpeg(cut.c_str(), &rowLength, &height);
        std::string message = testing::internal::GetCapturedStderr();
        // A short file may still decode (libjpeg pads a cut scan with grey); a bad header must not.
        if (keep < 200) {
            EXPECT_EQ(pixels, nullptr) << keep;
        }
        if (!pixels) {
            EXPECT_NE(message.find("cut.jpg"), std::string::npos);
        }
        std::free(pixels);
        std::remove(cut.c_str());
    }
    std::remove(path.c_str());
}

TEST(NormalizeCube, PlusXFaceTexels) {
    std::vector<unsigned char> face(32 * 32 * 3);
    computeNormalizeCubeFace(32, 0, face.data());
    struct Texel {
        int row, column;
        unsigned char r, g, b;
    };
    const Texel texels[] = {{0, 0, 201, 199, 199}, {15, 15, 253, 130, 130}, {31, 31, 201, 54, 54}};
    for (const Texel& t : texels) {
        const unsigned char* p = &face[(t.row * 32 + t.column) * 3];
        EXPECT_EQ(p[0], t.r) << t.row << "," << t.column;
        EXPECT_EQ(p[1], t.g) << t.row << "," << t.column;
        EXPECT_EQ(p[2], t.b) << t.row << "," << t.column;
    }
}

TEST(NormalizeCube, EveryFaceTexelEncodesAUnitVectorAlongItsAxis) {
    // The centre texels point (almost) straight along +X, -X, +Y, -Y, +Z, -Z.
    const int axis[6] = {0, 0, 1, 1, 2, 2};
    const int sign[6] = {1, -1, 1, -1, 1, -1};
    std::vector<unsigned char> face(32 * 32 * 3);
    for (int f = 0; f < 6; ++f) {
        computeNormalizeCubeFace(32, f, face.data());
        const unsigned char* centre = &face[(16 * 32 + 16) * 3];
        EXPECT_EQ(centre[axis[f]], sign[f] > 0 ? 253 : 0) << "face " << f;
        for (int i = 0; i < 32 * 32; ++i) {
            double length = 0;
            for (int c = 0; c < 3; ++c) {
                double v = (face[i * 3 + c] - 127.0) / 127.0;
                length += v * v;
            }
            ASSERT_NEAR(std::sqrt(length), 1.0, 0.03) << "face " << f << " texel " << i;
        }
    }
}

TEST(BlackKeyAlpha, AnyZeroChannelIsTransparent) {
    const unsigned char rgb[] = {0, 200, 200, 0, 0, 0, 1, 1, 1, 200, 0, 7, 9, 9, 0, 255, 255, 255};
    const unsigned char alpha[] = {0, 0, 255, 0, 0, 255};
    unsigned char* rgba = addBlackKeyAlpha(3, 2, rgb);
    ASSERT_NE(rgba, nullptr);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rgba[i * 4 + 3], alpha[i]) << i;
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(rgba[i * 4 + c], rgb[i * 3 + c]);
    }
    std::free(rgba);
}

TEST(SkyDome, RingsRunFromThePoleToTheHorizon) {
    static float dome[SKY_RINGS][SKY_RING_POINTS][3];
    buildSkyDome(SKY_RADIUS, dome);
    for (int j = 0; j < SKY_RING_POINTS; ++j) {
        EXPECT_NEAR(dome[0][j][0], 0, 1e-3);
        EXPECT_NEAR(dome[0][j][2], SKY_RADIUS, 1e-3);
        EXPECT_NEAR(dome[7][j][2], 0, 1e-2);
    }
    for (int r = 0; r < SKY_RINGS; ++r) {
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(dome[r][0][c], dome[r][30][c], 1e-2) << "ring " << r;
        double length = std::sqrt(dome[r][5][0] * dome[r][5][0] + dome[r][5][1] * dome[r][5][1] +
                                  dome[r][5][2] * dome[r][5][2]);
        EXPECT_NEAR(length, SKY_RADIUS, 1e-2);
    }
    // Point 5 of the horizon ring lies at 60 degrees.
    EXPECT_NEAR(dome[7][5][0], 500.0, 1e-2);
    EXPECT_NEAR(dome[7][5][1], 866.025, 1e-2);
}

} // namespace
