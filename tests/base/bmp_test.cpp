// BMP reader: every supported depth under both header forms, with and without the file header,
// decoded to exact bytes; damaged headers refused without reading past the data.
#include "base/bmp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const int W = 3, H = 2;

// Sixteen distinct palette colours (R, G, B).
unsigned char paletteColour(int index, int channel) {
    return static_cast<unsigned char>(16 * index + 40 * channel + 7);
}

// The pixel at (x, y), y counted from the bottom row: a palette index for the palette depths.
int indexAt(int x, int y, int bits) {
    return (x + 2 * y + 1) % (bits == 1 ? 2 : bits == 4 ? 16 : 5);
}
unsigned char directColour(int x, int y, int channel) {
    return static_cast<unsigned char>(30 * x + 90 * y + 11 * channel + 1);
}

void putU16(std::vector<unsigned char>& v, unsigned x) {
    v.push_back(x & 255);
    v.push_back((x >> 8) & 255);
}
void putU32(std::vector<unsigned char>& v, unsigned x) {
    putU16(v, x & 0xFFFF);
    putU16(v, x >> 16);
}

struct BmpCase {
    int bits;
    bool coreHeader;
    bool fileHeader;
    bool topDown;
};

std::vector<unsigned char> makeBmp(const BmpCase& c) {
    int paletteCount = c.bits <= 8 ? (1 << c.bits) : 0;
    int entry = c.coreHeader ? 3 : 4;
    int headerSize = c.coreHeader ? 12 : 40;
    int stride = (W * c.bits + 31) / 32 * 4;
    std::vector<unsigned char> info;
    putU32(info, headerSize);
    if (c.coreHeader) {
        putU16(info, W);
        putU16(info, H);
        putU16(info, 1);
        putU16(info, c.bits);
    } else {
        putU32(info, W);
        putU32(info, c.topDown ? static_cast<unsigned>(-H) : H);
        putU16(info, 1);
        putU16(info, c.bits);
        for (int i = 0; i < 6; ++i)
            putU32(info, 0);
    }
    for (int i = 0; i < paletteCount; ++i) {
        info.push_back(paletteColour(i, 2));
        info.push_back(paletteColour(i, 1));
        info.push_back(paletteColour(i, 0));
        if (entry == 4) info.push_back(0);
    }
    std::vector<unsigned char> rows;
    for (int r = 0; r < H; ++r) {
        int y = c.topDown ? H - 1 - r : r;
        std::vector<unsigned char> row(stride, 0);
        for (int x = 0; x < W; ++x) {
            int index = indexAt(x, y, c.bits);
            switch (c.bits) {
            case 1:
                row[x / 8] |= index << (7 - x % 8);
                break;
            case 4:
                row[x / 2] |= index << (x % 2 == 0 ? 4 : 0);
                break;
            case 8:
                row[x] = index;
                break;
            default:
                for (int ch = 0; ch < 3; ++ch)
                    row[x * (c.bits / 8) + ch] = directColour(x, y, 2 - ch);
                if (c.bits == 32) row[x * 4 + 3] = 0xEE;
            }
        }
        rows.insert(rows.end(), row.begin(), row.end());
    }
    std::vector<unsigned char> file;
    if (c.fileHeader) {
        file.push_back('B');
        file.push_back('M');
        putU32(file, 14 + info.size() + rows.size());
        putU32(file, 0);
        putU32(file, 14 + info.size());
    }
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), rows.begin(), rows.end());
    return file;
}

std::vector<unsigned char> expectedPixels(int bits) {
    std::vector<unsigned char> out;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            for (int ch = 0; ch < 3; ++ch)
                out.push_back(bits <= 8 ? paletteColour(indexAt(x, y, bits), ch) : directColour(x, y, ch));
    return out;
}

void release(RgbImage* image) {
    if (!image) return;
    std::free(image->pixels);
    std::free(image);
}

TEST(BmpImage, DecodesEveryDepthAndHeaderToPackedRowsBottomFirst) {
    const BmpCase cases[] = {
        {1, false, true, false},   {4, false, true, false},  {8, false, true, false},
        {24, false, true, false},  {32, false, true, false}, {1, true, true, false},
        {4, true, true, false},    {8, true, true, false},   {24, true, true, false},
        {32, true, true, false},   {1, false, false, false}, {8, false, false, false},
        {24, false, false, false}, {8, true, false, false},  {24, true, false, false},
        {24, false, true, true},   {8, false, true, true},   {1, false, false, true},
    };
    for (const BmpCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, core " << c.coreHeader << ", file header "
                                        << c.fileHeader << ", top-down " << c.topDown);
        std::vector<unsigned char> file = makeBmp(c);
        RgbImage* image = decodeBmpImage(file.data(), file.size(), "case.bmp");
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, W);
        EXPECT_EQ(image->height, H);
        std::vector<unsigned char> got(image->pixels, image->pixels + W * H * 3);
        EXPECT_EQ(got, expectedPixels(c.bits)); // rows of 9 bytes, no padding
        release(image);
    }
}

TEST(BmpImage, RefusesEveryTruncationWithoutReadingPastTheData) {
    testing::internal::CaptureStdout();
    for (int bits : {1, 4, 8, 24, 32})
        for (bool core : {false, true})
            for (bool fileHeader : {false, true}) {
                std::vector<unsigned char> file = makeBmp({bits, core, fileHeader, false});
                for (size_t length = 0; length < file.size(); ++length) {
                    // A copy of exactly 'length' bytes, so that a read past it shows under a sanitizer.
                    std::vector<unsigned char> cut(file.begin(), file.begin() + length);
                    RgbImage* image = decodeBmpImage(cut.data(), cut.size(), "cut.bmp");
                    EXPECT_EQ(image, nullptr) << bits << " bits cut to " << length << " of " << file.size();
                    release(image);
                }
            }
    EXPECT_NE(testing::internal::GetCapturedStdout().find("cut.bmp: "), std::string::npos);
}

TEST(BmpImage, RefusesHeadersItCannotDecode) {
    struct Damage {
        const char* what;
        size_t offset;
        unsigned value;
    };
    // Offsets into a 24-bit file with the file header (the info header starts at 14).
    const Damage damages[] = {
        {"header size 108", 14, 108},
        {"16 bits per pixel", 28, 16},
        {"run-length compression", 30, 1},
        {"zero width", 18, 0},
        {"pixel offset past the end", 10, 100000},
    };
    for (const Damage& d : damages) {
        std::vector<unsigned char> file = makeBmp({24, false, true, false});
        if (d.offset == 28)
            file[d.offset] = d.value, file[d.offset + 1] = 0;
        else
            for (int i = 0; i < 4; ++i)
                file[d.offset + i] = (d.value >> (8 * i)) & 255;
        EXPECT_EQ(decodeBmpImage(file.data(), file.size(), "bad.bmp"), nullptr) << d.what;
    }
    // A palette that promises more entries than the file holds.
    std::vector<unsigned char> file = makeBmp({8, false, true, false});
    file[14 + 32] = 0xFF, file[14 + 33] = 0xFF;
    EXPECT_EQ(decodeBmpImage(file.data(), file.size(), "palette.bmp"), nullptr);
}

TEST(BmpImage, LoadsFromDiskAndReportsAMissingFile) {
    std::string path = testing::TempDir() + "bmp_test_image.bmp";
    std::vector<unsigned char> file = makeBmp({24, false, true, false});
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    RgbImage* image = loadBmpImage(path.c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(image->pixels, image->pixels + 18), expectedPixels(24));
    release(image);
    std::remove(path.c_str());

    testing::internal::CaptureStdout();
    EXPECT_EQ(loadBmpImage("no_such_file.bmp"), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Failed to open DIB file no_such_file.bmp."),
              std::string::npos);
}

} // namespace
