// The generated sky and sea images: the six environment faces meet at their edges as GL's cube-map
// lookup joins them, and the sky sits above the horizon.
#include "assets/writers.h"
#include "base/bmp.h"
#include "base/jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const FACE_FILES[6] = {"ixpos.bmp", "ixneg.bmp", "iypos.bmp",
                                   "iyneg.bmp", "izpos.bmp", "izneg.bmp"};

// Writes the images once into a folder under the test's scratch folder.
std::string generatedFolder() {
    static std::string folder;
    if (!folder.empty()) return folder;
    folder = testing::TempDir() + "sky";
    EXPECT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
    EXPECT_TRUE(writeSkyAndWaterImages(folder));
    return folder;
}

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
TEST(SkyImages, CubeFacesJoinAtEveryEdge) {
    std::string folder = generatedFolder();
    RgbImage* faces[6];
    for (int f = 0; f < 6; ++f) {
        faces[f] = loadBmpImage((folder + "/" + FACE_FILES[f]).c_str());
        ASSERT_NE(faces[f], nullptr) << FACE_FILES[f];
        ASSERT_TRUE(faces[f]->width == faces[0]->width && faces[f]->height == faces[0]->width);
    }
    int size = faces[0]->width, samples = 0, worst = 0;
    double total = 0;
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
        total += difference / 3.0;
        worst = std::max(worst, difference / 3);
        ++samples;
    }
    EXPECT_LT(total / samples, 3.0);
    EXPECT_LT(worst, 40);
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

TEST(SkyImages, SkyAboveTheHorizonSeaHazeBelow) {
    std::string folder = generatedFolder();
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

} // namespace
