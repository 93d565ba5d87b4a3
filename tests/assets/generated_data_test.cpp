// The generated data read back through the program's own readers: the canoe where the fixed transforms
// expect it, sky faces that meet as GL's cube-map lookup joins them, and sounds of their shapes.
#include "assets/canoe_images.h"
#include "assets/writers.h"
#include "base/bmp.h"
#include "base/jpeg.h"
#include "canoe/shape_file.h"
#include "canoe/stroke_samples.h"
#include "water/gunwale_mask.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sndfile.h>

namespace {

class GeneratedData : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::string folder = testing::TempDir();
        ASSERT_TRUE(writeCanoeData(folder) && writeSkyAndWaterImages(folder) && writeStrokeSounds(folder) &&
                    writeLoonSound(folder));
        for (int i = 0; i < SHAPE_FILE_COUNT; i++) {
            std::ifstream in(testing::TempDir() + shapeFileNames[i]);
            ASSERT_TRUE(in.good()) << shapeFileNames[i];
            ASSERT_TRUE(readShapeFile(in, i)) << shapeFileNames[i];
        }
    }
};

TEST_F(GeneratedData, HullSpansTheTextureCylinderAndSitsInTheWater) {
    float low[3] = {1e9f, 1e9f, 1e9f}, high[3] = {-1e9f, -1e9f, -1e9f};
    for (int i = 0; i < canoeShapes[4].vertexCount; i++) // the bark skin
        for (int c = 0; c < 3; c++) {
            low[c] = std::min(low[c], canoeShapes[4].vertices[i][c]);
            high[c] = std::max(high[c], canoeShapes[4].vertices[i][c]);
        }
    EXPECT_TRUE(std::fabs(low[2] + 70.6378f) < 1 && std::fabs(high[2] - 79.8602f) < 1)
        << "the cylinder's ends";
    EXPECT_NEAR(high[0] - low[0], 30.0f, 2.0f) << "beam";
    EXPECT_LT(low[1], -8.0f) << "the bottom lies well below the water at y = -5";
    EXPECT_GT(high[1], 12.0f) << "the ends rise well above the midship sheer";
    // The sealed bottom stays under the water line; toward the ends, where the keel rises out of the
    // water, it narrows to nothing along the keel.
    const ShapeFile& bottom = canoeShapes[0];
    for (int i = 0; i < bottom.vertexCount; i++)
        if (bottom.vertices[i][1] > -6.4f) {
            ASSERT_NEAR(bottom.vertices[i][0], -0.371732f, 0.01f) << i;
        }
    // Midship (near z = 4.6) the gunwale tops lie near y = 6.5.
    const ShapeFile& rails = canoeShapes[1];
    float railTop = -1e9f;
    for (int i = 0; i < rails.vertexCount; i++)
        if (std::fabs(rails.vertices[i][2] - 4.6f) < 2.0f) railTop = std::max(railTop, rails.vertices[i][1]);
    EXPECT_NEAR(railTop, 6.8f, 0.5f);
}

// Every triangle is its own begin/end pair every frame, so the canoe's drawing time follows this count.
TEST_F(GeneratedData, DrawnTrianglesAFrameStayWithinTheBudget) {
    int triangles = 0;
    for (int k = 0; k < canoeShapeCount; k++) // the bow and stern line twice, as shapes 2 and 6
        triangles += k == SEAT_NET_SHAPE ? 4 : canoeShapes[k].faceCount; // the nets: two quads
    EXPECT_LE(triangles, 15000);
}

TEST_F(GeneratedData, SixtyStrokeSamplesAndAMaskRimInsideTheGunwalesFromSternToBow) {
    std::ifstream stroke(testing::TempDir() + "fstroke.stroke"), in(testing::TempDir() + "gunwale.mask");
    ASSERT_TRUE(readStrokeFile(stroke) && readGunwaleMask(in));
    EXPECT_EQ(strokeSamples.sampleCount, 60);
    for (int i = 0; i < GUNWALE_POINTS; i++) {
        EXPECT_LE(gunwaleMask.a[i][0], gunwaleMask.b[i][0] + 1e-4f) << i;
        EXPECT_FLOAT_EQ(gunwaleMask.a[i][2], gunwaleMask.b[i][2]) << i;
        EXPECT_GT(gunwaleMask.a[i][1], 6.0f) << "at the gunwale, far above the water";
        EXPECT_GT(gunwaleMask.a[i][2], i > 0 ? gunwaleMask.a[i - 1][2] : -1e9f);
    }
    // The rim closes at the stems' curled heads, a few units inside the hull's full length.
    EXPECT_TRUE(std::fabs(gunwaleMask.a[0][2] + 66) < 3 && std::fabs(gunwaleMask.a[21][2] - 75) < 3);
    EXPECT_NEAR(gunwaleMask.b[10][0] - gunwaleMask.a[10][0], 28.0f, 2.0f) << "midship opening";
}

TEST_F(GeneratedData, TexturesDecodeAndTheSeatKeysOnlyItsHoles) {
    for (const char* name : canoeTextureNames) {
        RgbImage* image = loadBmpImage((testing::TempDir() + name).c_str());
        ASSERT_NE(image, nullptr) << name;
        EXPECT_GT(image->width, 0);
        freeRgbImage(image);
    }
    std::vector<unsigned char> seat = makeSeatImage(128);
    int holes = 0, keyedStrips = 0; // pure black keys out; a strip with one zero channel would too
    for (size_t i = 0; i < seat.size(); i += 3) {
        int zeros = (seat[i] == 0) + (seat[i + 1] == 0) + (seat[i + 2] == 0);
        holes += zeros == 3;
        keyedStrips += zeros == 1 || zeros == 2;
    }
    EXPECT_EQ(keyedStrips, 0);
    EXPECT_TRUE(holes > 128 * 128 / 5 && holes < 128 * 128 * 4 / 5) << holes;
}

const char* const FACE_FILES[6] = {"ixpos.bmp", "ixneg.bmp", "iypos.bmp",
                                   "iyneg.bmp", "izpos.bmp", "izneg.bmp"};

// GL's cube-map face selection: direction to face and texel (column, row in upload order).
void lookUp(const double r[3], int size, int* face, int* column, int* row) {
    double ax = std::fabs(r[0]), ay = std::fabs(r[1]), az = std::fabs(r[2]);
    double sc, tc, ma;
    if (ax >= ay && ax >= az) {
        *face = r[0] > 0 ? 0 : 1;
        sc = r[0] > 0 ? -r[2] : r[2], tc = -r[1], ma = ax;
    } else if (ay >= az) {
        *face = r[1] > 0 ? 2 : 3;
        sc = r[0], tc = r[1] > 0 ? r[2] : -r[2], ma = ay;
    } else {
        *face = r[2] > 0 ? 4 : 5;
        sc = r[2] > 0 ? r[0] : -r[0], tc = -r[1], ma = az;
    }
    *column = std::min(size - 1, std::max(0, static_cast<int>((sc / ma + 1) / 2 * size)));
    *row = std::min(size - 1, std::max(0, static_cast<int>((tc / ma + 1) / 2 * size)));
}

// Pairs of nearby directions that GL sends to two different faces see nearly the same colour.
TEST_F(GeneratedData, CubeFacesJoinAtEveryEdge) {
    RgbImage* faces[6];
    for (int f = 0; f < 6; ++f) {
        faces[f] = loadBmpImage((testing::TempDir() + FACE_FILES[f]).c_str());
        ASSERT_NE(faces[f], nullptr) << FACE_FILES[f];
        ASSERT_TRUE(faces[f]->width == faces[0]->width && faces[f]->height == faces[0]->width);
    }
    // Each edge on its own: a mirrored or turned face spoils only its own four edges, a few hundred of the
    // 5 000 pairs.
    int size = faces[0]->width, samples = 0, worst = 0, edgeSamples[6][6] = {};
    double edgeTotal[6][6] = {};
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    while (samples < 5000) {
        // A point on the cube's surface and one up to a texel from it.
        double r[3] = {unit(random), unit(random), unit(random)}, q[3];
        double m = std::max(std::fabs(r[0]), std::max(std::fabs(r[1]), std::fabs(r[2])));
        for (int c = 0; c < 3; ++c)
            r[c] /= m, q[c] = r[c] + unit(random) * 2.0 / size;
        int f[2], column[2], row[2];
        lookUp(r, size, &f[0], &column[0], &row[0]);
        lookUp(q, size, &f[1], &column[1], &row[1]);
        if (f[0] == f[1]) continue;
        int difference = 0;
        for (int c = 0; c < 3; ++c)
            difference += std::abs(faces[f[0]]->pixels[(row[0] * size + column[0]) * 3 + c] -
                                   faces[f[1]]->pixels[(row[1] * size + column[1]) * 3 + c]);
        edgeTotal[std::min(f[0], f[1])][std::max(f[0], f[1])] += difference / 3.0;
        edgeSamples[std::min(f[0], f[1])][std::max(f[0], f[1])]++;
        worst = std::max(worst, difference / 3);
        ++samples;
    }
    EXPECT_LT(worst, 40);
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b)
            if (edgeSamples[a][b] > 0) {
                EXPECT_LT(edgeTotal[a][b] / edgeSamples[a][b], 2.0) << "faces " << a << " and " << b;
            }
    for (RgbImage* image : faces)
        freeRgbImage(image);
}

// The mean of channel c over 'count' RGB pixels.
double mean(const unsigned char* pixels, int count, int c) {
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += pixels[i * 3 + c];
    return sum / count;
}

TEST_F(GeneratedData, SkyAboveTheHorizonSeaHazeBelow) {
    std::string folder = testing::TempDir();
    RgbImage* up = loadBmpImage((folder + "/iypos.bmp").c_str());
    RgbImage* down = loadBmpImage((folder + "/iyneg.bmp").c_str());
    ASSERT_TRUE(up && down);
    int n = up->width * up->height;
    EXPECT_GT(mean(up->pixels, n, 2), mean(up->pixels, n, 0) + 30) << "the sky overhead is blue";
    EXPECT_GT(mean(up->pixels, n, 2), mean(down->pixels, n, 2))
        << "the mirrored sky is brighter than the haze below the horizon";
    int rowLength = 0, height = 0;
    unsigned char* bottom = readJpeg((folder + "/bottom.jpg").c_str(), &rowLength, &height);
    ASSERT_NE(bottom, nullptr);
    n = rowLength / 3 * height;
    double red = mean(bottom, n, 0), green = mean(bottom, n, 1), blue = mean(bottom, n, 2);
    EXPECT_TRUE(red < green && red < blue) << "deep blue-green";
    EXPECT_LT((red + green + blue) / 3, 110) << "and dark";
    std::free(bottom);
    freeRgbImage(up);
    freeRgbImage(down);
}

TEST_F(GeneratedData, SoundsReadBackWithTheirShapes) {
    std::string folder = testing::TempDir();
    const struct {
        const char* name;
        double shortest, longest; // seconds
        double peakBefore;        // seconds: the loudest 10 ms starts before this
        bool loops;               // its end runs on into its start
        int bursts;               // separate sounds, each from a quiet 10 ms to a loud one (0: any)
        std::vector<std::vector<double>> spans; // from, to (seconds): the least and the most RMS there
    } cases[] = {
        {"splash.wav", 0.3, 0.8, 0.02, false, 1, {}},
        {"blade.wav", 1.0, 4.0, 4.0, true, 0, {}},
        {"drips.wav", 0.6, 1.5, 0.1, false, 5, {}},
        {"loon5.wav", 5, 10, 3, false, 0, {{1, 2, 0.2, 1}, {3.8, 4.8, 0.1, 1}, {6.5, 8.5, 0, 0.02}}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SF_INFO info = {};
        SNDFILE* file = sf_open((folder + "/" + c.name).c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(info.channels, 1);
        std::vector<float> s(static_cast<size_t>(info.frames));
        ASSERT_EQ(sf_readf_float(file, s.data(), info.frames), info.frames);
        sf_close(file);
        double seconds = double(info.frames) / info.samplerate;
        EXPECT_TRUE(seconds >= c.shortest && seconds <= c.longest) << seconds << " s";
        auto rms = [&](double from, double to) {
            double sum = 0;
            size_t a = size_t(from * info.samplerate), b = size_t(to * info.samplerate);
            for (size_t i = a; i < b; ++i)
                sum += s[i] * s[i];
            return std::sqrt(sum / double(b - a));
        };
        for (const auto& span : c.spans) {
            double level = rms(span[0], span[1]);
            EXPECT_TRUE(level >= span[2] && level <= span[3]) << span[0] << " s: " << level;
        }
        // 10 ms windows: the loudest, the bursts, and a one-shot's quiet end.
        std::vector<double> windows;
        for (double t = 0; t + 0.01 <= seconds; t += 0.01)
            windows.push_back(rms(t, t + 0.01));
        size_t loudest = 0;
        int bursts = 0;
        for (size_t w = 0; w < windows.size(); ++w) {
            if (windows[w] > windows[loudest]) loudest = w;
            bursts += (w == 0 || windows[w - 1] < 0.01) && windows[w] > 0.1; // silence before the start
        }
        EXPECT_TRUE(windows[loudest] > 0.15 && loudest * 0.01 < c.peakBefore)
            << "heard, at " << loudest * 0.01;
        EXPECT_TRUE(c.bursts == 0 || bursts == c.bursts) << bursts << " bursts";
        // A loop's seam is no bigger a step than those within it; a one-shot ends in quiet.
        double largestStep = 0;
        for (size_t i = 1; i < s.size(); ++i)
            largestStep = std::fmax(largestStep, std::fabs(s[i] - s[i - 1]));
        if (c.loops)
            EXPECT_LT(std::fabs(s.front() - s.back()), largestStep / 2);
        else
            EXPECT_LT(windows.back(), 0.01);
    }
}

} // namespace
