// BMP reader: every supported depth under both header forms, with and without the file header, decoded to
// exact bytes; headers it cannot decode refused. (Reads past cut files are the fuzz target's; missing and
// cut files the damage table's, tests/e2e/damage.cpp.)
#include "base/bmp.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

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
    } damages[] = {
        {"header size 108", 24, 14, 4, 108},
        {"16 bits per pixel", 24, 28, 2, 16},
        {"run-length compression", 24, 30, 4, 1},
        {"zero width", 24, 18, 4, 0},
    };
    testing::internal::CaptureStdout();
    for (const auto& d : damages) {
        Bytes file = makeBmp({d.bits, false, true, false});
        for (size_t i = 0; i < d.bytes; ++i)
            file[d.offset + i] = (d.value >> (8 * i)) & 255;
        EXPECT_EQ(decodeBmpImage(file.data(), file.size(), "bad.bmp"), nullptr) << d.what;
    }
    testing::internal::GetCapturedStdout();
}

} // namespace
