// The foundations: the maths (cross products, matrix layout, rotations, products, the inverse; quaternions
// show in generated_paddler_test.cpp) and what BMP, TGA and JPEG files decode to and what each reader
// refuses (reads past cut files: the fuzz targets; missing and cut files: tests/e2e/damage.cpp).
#include "base/vecmath.h"
#include "assets/image_writers.h"
#include "base/bmp.h"
#include "base/jpeg.h"
#include "base/tga.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>

namespace {

void expectNear(const Matrix4& a, const Matrix4& b, double tolerance, const char* what) {
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(a.m[k], b.m[k], tolerance) << what << " element " << k;
}

// The cross product is right-handed and anti-commutes; a unit vector of nothing stays nothing.
TEST(Vec3, CrossProductHandednessAndUnitVectors) {
    const Vec3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    const struct {
        const char* what;
        Vec3 got, want;
    } cases[] = {{"x by y", cross(x, y), z},
                 {"y by z", cross(y, z), x},
                 {"z by x", cross(z, x), y},
                 {"y by x", cross(y, x), z * -1},
                 {"unit", unitVector(Vec3(3, -4, 0)), Vec3(0.6, -0.8, 0)},
                 {"zero", unitVector(Vec3()), Vec3()}};
    for (const auto& c : cases)
        EXPECT_LE(length(c.got - c.want), 1e-15) << c.what;
}

// Each rotation turns counter-clockwise about its axis; translations move points, not directions; the
// right operand of a product acts first.
TEST(Matrix4, RotationsTranslationsAndProductOrder) {
    Matrix4 z = rotationZ(90), x = rotationX(90), shift = translationMatrix(3, -4, 5);
    const struct {
        const char* what;
        Matrix4 m;
        Vec3 in, point, direction;
    } cases[] = {{"about z", z, {1, 0, 0}, {0, 1, 0}, {0, 1, 0}},
                 {"about x", x, {0, 1, 0}, {0, 0, 1}, {0, 0, 1}},
                 {"about y", rotationY(90), {0, 0, 1}, {1, 0, 0}, {1, 0, 0}},
                 {"translation", shift, {1, 1, 1}, {4, -3, 6}, {1, 1, 1}},
                 {"x after z", x * z, {1, 0, 0}, {0, 0, 1}, {0, 0, 1}}, // x -> y -> z
                 {"z after x", z * x, {1, 0, 0}, {0, 1, 0}, {0, 1, 0}},
                 {"translation after z", shift * z, {1, 0, 0}, {3, -3, 5}, {0, 1, 0}}};
    for (const auto& c : cases) {
        Vec3 point = c.in, direction = c.in;
        c.m.transformPoint(point);
        c.m.transformDirection(direction);
        EXPECT_TRUE(length(point - c.point) < 1e-7 && length(direction - c.direction) < 1e-7) << c.what;
    }
    EXPECT_EQ(z.m[0], std::cos(90.0 * 0.017453293)) << "degrees convert with 0.017453293, not pi / 180";
    EXPECT_EQ(Matrix4(0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0).m[4], 7)
        << "given by rows, stored by columns";
}

// Random matrices times their inverse give the identity both ways; a singular matrix warns once and gives
// the identity; a tiny determinant is no singular one.
TEST(Matrix4, InverseGivesIdentityBothWaysSingularOnesWarn) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-2.0, 2.0);
    for (int trial = 0; trial < 50; ++trial) {
        Matrix4 m;
        for (double& element : m.m)
            element = value(random);
        expectNear(m * invertMatrix(m), Matrix4(), 1e-12, "m by its inverse");
        expectNear(invertMatrix(m) * m, Matrix4(), 1e-12, "the inverse by m");
    }
    Matrix4 zero(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), notANumber, tiny;
    notANumber.m[0] = std::nan("");
    tiny.m[0] = 1e-300;
    const Matrix4 cases[] = {zero, notANumber, tiny};
    for (int k = 0; k < 3; ++k) {
        bool singular = k < 2;
        testing::internal::CaptureStdout();
        Matrix4 result = invertMatrix(cases[k]);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  singular ? "Warning: Call to invertMatrix produced a Singular matrix.\n" : "");
        expectNear(result, singular ? Matrix4() : Matrix4(1e300, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1),
                   singular ? 0 : 1e285, "singular or tiny");
    }
}

typedef std::vector<unsigned char> Bytes;
const int W = 3, H = 2;

struct BmpCase {
    int bits;
    bool core, fileHeader, topDown;
};

unsigned char paletteColour(int index, int channel) {
    return static_cast<unsigned char>(16 * index + 40 * channel + 7);
}
// Pixel (x, y), y counted from the bottom row: a palette index, or the colour itself above 8 bits.
int indexAt(int x, int y, int bits) {
    return (x + 2 * y + 1) % (bits == 1 ? 2 : bits == 4 ? 16 : 5);
}
unsigned char directColour(int x, int y, int channel) {
    return static_cast<unsigned char>(30 * x + 90 * y + 11 * channel + 1);
}

void put(Bytes& v, unsigned value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        v.push_back((value >> (8 * i)) & 255);
}

Bytes makeBmp(const BmpCase& c) {
    Bytes info, rows, file;
    int field = c.core ? 2 : 4;
    put(info, c.core ? 12 : 40, 4);
    put(info, W, field);
    put(info, c.topDown ? -H : H, field);
    put(info, 1, 2);
    put(info, c.bits, 2);
    if (!c.core) info.resize(40); // no compression, and every size and count 0
    for (int i = 0; c.bits <= 8 && i < (1 << c.bits); ++i) {
        for (int ch = 2; ch >= 0; --ch)
            info.push_back(paletteColour(i, ch));
        if (!c.core) info.push_back(0);
    }
    int stride = (W * c.bits + 31) / 32 * 4;
    for (int r = 0; r < H; ++r) {
        int y = c.topDown ? H - 1 - r : r;
        Bytes row(stride, 0);
        for (int x = 0; x < W; ++x) {
            int index = indexAt(x, y, c.bits);
            if (c.bits == 1) row[x / 8] |= index << (7 - x % 8);
            if (c.bits == 4) row[x / 2] |= index << (x % 2 == 0 ? 4 : 0);
            if (c.bits == 8) row[x] = index;
            for (int ch = 0; c.bits > 8 && ch < c.bits / 8; ++ch)
                row[x * c.bits / 8 + ch] = ch < 3 ? directColour(x, y, 2 - ch) : 0xEE;
        }
        rows.insert(rows.end(), row.begin(), row.end());
    }
    if (c.fileHeader) {
        file = {'B', 'M'};
        put(file, 14 + info.size() + rows.size(), 4);
        put(file, 0, 4);
        put(file, 14 + info.size(), 4);
    }
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), rows.begin(), rows.end());
    return file;
}

Bytes expectedPixels(int bits) {
    Bytes out;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            for (int ch = 0; ch < 3; ++ch)
                out.push_back(bits <= 8 ? paletteColour(indexAt(x, y, bits), ch) : directColour(x, y, ch));
    return out;
}

TEST(BmpImage, DecodesEveryDepthAndHeaderToPackedRowsBottomFirst) {
    // Every depth under both headers, with and without the file header; top-down rows need the 40-byte one.
    std::vector<BmpCase> cases;
    for (int bits : {1, 4, 8, 24, 32})
        for (int form = 0; form < 6; ++form)
            cases.push_back({bits, form % 3 == 1, form >= 3, form % 3 == 2});
    for (const BmpCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, core " << c.core << ", file header "
                                        << c.fileHeader << ", top-down " << c.topDown);
        Bytes file = makeBmp(c);
        RgbImage* image = decodeBmpImage(file.data(), file.size(), "case.bmp");
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(image->width == W && image->height == H);
        EXPECT_EQ(Bytes(image->pixels, image->pixels + W * H * 3), expectedPixels(c.bits)); // rows of 9 bytes
        freeRgbImage(image);
    }
}

TEST(BmpImage, RefusesHeadersItCannotDecode) {
    // Offsets into a file with the file header (the info header starts at 14).
    const struct {
        const char* what;
        int bits;
        size_t offset, bytes;
        unsigned value;
    } damages[] = {{"header size 108", 24, 14, 4, 108},
                   {"16 bits per pixel", 24, 28, 2, 16},
                   {"run-length compression", 24, 30, 4, 1},
                   {"zero width", 24, 18, 4, 0}};
    testing::internal::CaptureStdout();
    for (const auto& d : damages) {
        Bytes file = makeBmp({d.bits, false, true, false});
        for (size_t i = 0; i < d.bytes; ++i)
            file[d.offset + i] = (d.value >> (8 * i)) & 255;
        EXPECT_EQ(decodeBmpImage(file.data(), file.size(), "bad.bmp"), nullptr) << d.what;
    }
    testing::internal::GetCapturedStdout();
}

// An 18-byte header, an image ID of 'idLength' bytes, then 'pixels'.
Bytes tga(int type, int mapType, int width, int height, int depth, const Bytes& pixels, int idLength = 0) {
    Bytes file(18, 0);
    file[0] = idLength, file[1] = mapType, file[2] = type;
    file[12] = width, file[14] = height, file[16] = depth;
    file.insert(file.end(), idLength, '#');
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

// Accepted types and depths decode to exact texels; what the reader cannot read is refused.
TEST(TgaImage, DecodesAcceptedFilesToExactTexelsAndRefusesTheRest) {
    Bytes odd(3 * 5 * 3), oddRgb(odd.size()); // BGR bytes 0, 1, 2, ... and the same as RGB
    for (size_t i = 0; i < odd.size(); ++i) {
        odd[i] = i;
        oddRgb[i] = i - i % 3 + 2 - i % 3;
    }
    const struct {
        const char* what;
        Bytes file;
        int result = 0, width = 0, height = 0;
        unsigned format = 0;
        Bytes texels = {};
    } cases[] = {{"red then blue",
                  tga(2, 0, 2, 1, 24, {0, 0, 255, 255, 0, 0}),
                  0,
                  2,
                  1,
                  GL_RGB,
                  {255, 0, 0, 0, 0, 255}},
                 {"3 x 5", tga(2, 0, 3, 5, 24, odd), 0, 3, 5, GL_RGB, oddRgb},
                 {"32-bit BGRA", tga(2, 0, 1, 1, 32, {10, 20, 30, 40}), 0, 1, 1, GL_RGBA, {30, 20, 10, 40}},
                 {"greyscale", tga(3, 0, 2, 2, 8, {1, 2, 3, 4}), 0, 2, 2, GL_LUMINANCE, {1, 2, 3, 4}},
                 {"image ID skipped", tga(2, 0, 1, 1, 24, {1, 2, 3}, 5), 0, 1, 1, GL_RGB, {3, 2, 1}},
                 {"extra bytes after the pixels", tga(3, 0, 1, 1, 8, {9, 8, 7}), 0, 1, 1, GL_LUMINANCE, {9}},
                 {"run-length encoded", tga(10, 0, 1, 1, 24, {1, 2, 3}), TGA_REFUSED},
                 {"colour-mapped", tga(1, 1, 1, 1, 8, {0}), TGA_REFUSED},
                 {"colour map on a true-colour file", tga(2, 1, 1, 1, 24, {1, 2, 3}), TGA_REFUSED},
                 {"16 bits", tga(2, 0, 1, 1, 16, {1, 2}), TGA_REFUSED},
                 {"header cut short", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0}, TGA_REFUSED},
                 {"pixels cut short", tga(2, 0, 2, 2, 24, {1, 2, 3, 4, 5}), TGA_READ_FAILED}};
    for (const auto& c : cases) {
        Bytes exact(c.file); // no spare capacity, so that a read past the end shows under a sanitizer
        TgaImage image;
        ASSERT_EQ(decodeTgaImage(exact.data(), exact.size(), &image), c.result) << c.what;
        if (c.result != 0) continue;
        EXPECT_TRUE(image.width == c.width && image.height == c.height && image.format == c.format) << c.what;
        EXPECT_EQ(Bytes(image.pixels, image.pixels + c.texels.size()), c.texels) << c.what;
        std::free(image.pixels);
    }
}

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
    EXPECT_TRUE(rowLength == 6 && height == 2);
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
// rows are allocated (a 349-byte file once asked for 12 GB; found by fuzz/jpeg_fuzz).
TEST(ReadJpeg, RefusesAMissingFileAndSidesAboveTheLimit) {
    std::string path = jpegFile("huge.jpg", 8, 8, 3, Bytes(8 * 8 * 3, 90));
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    size_t sof = bytes.find("\xFF\xC0");
    ASSERT_TRUE(sof != std::string::npos && sof + 9 < bytes.size()) << "no baseline frame header";
    // Frame header: marker, length (2), precision (1), height (2), width (2), big-endian.
    bytes[sof + 7] = char((JPEG_MAX_SIDE + 1) >> 8);
    bytes[sof + 8] = char((JPEG_MAX_SIDE + 1) & 0xFF);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
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
