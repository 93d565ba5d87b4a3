// The generated sky and sea images: the six environment faces meet at their edges as GL's cube-map
// lookup joins them, the sky sits above the horizon, and the files come out the same on every run.
#include "assets/writers.h"
#include "base/bmp.h"
#include "water/textures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char* const FACE_FILES[6] = {"ixpos.bmp", "ixneg.bmp", "iypos.bmp",
                                   "iyneg.bmp", "izpos.bmp", "izneg.bmp"};

// Writes the images into a fresh folder under the test's scratch folder, once per name.
std::string generatedFolder(const char* name) {
    std::string folder = testing::TempDir() + name;
    static std::vector<std::string> written;
    if (std::find(written.begin(), written.end(), folder) != written.end()) return folder;
    written.push_back(folder);
    EXPECT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
    EXPECT_TRUE(writeSkyAndWaterImages(folder));
    return folder;
}

void freeImage(RgbImage* image) {
    std::free(image->pixels);
    std::free(image);
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
    double s = (sc / ma + 1) / 2, t = (tc / ma + 1) / 2;
    *column = std::min(size - 1, std::max(0, static_cast<int>(s * size)));
    *row = std::min(size - 1, std::max(0, static_cast<int>(t * size)));
}

// The direction through face f at face coordinates (sc, tc) in [-1, 1]: the inverse of lookUp.
void direction(int f, double sc, double tc, double r[3]) {
    const double d[6][3] = {{1, -tc, -sc}, {-1, -tc, sc}, {sc, 1, tc},
                            {sc, -1, -tc}, {sc, -tc, 1},  {-sc, -tc, -1}};
    for (int i = 0; i < 3; ++i)
        r[i] = d[f][i];
}

TEST(SkyImages, CubeFacesJoinAtEveryEdge) {
    std::string folder = generatedFolder("sky_a");
    RgbImage* faces[6];
    for (int f = 0; f < 6; ++f) {
        faces[f] = loadBmpImage((folder + "/" + FACE_FILES[f]).c_str());
        ASSERT_NE(faces[f], nullptr) << FACE_FILES[f];
        ASSERT_EQ(faces[f]->width, faces[0]->width);
        ASSERT_EQ(faces[f]->height, faces[f]->width);
    }
    int size = faces[0]->width;
    auto texel = [&](int f, int column, int row, int c) {
        return faces[f]->pixels[(row * size + column) * 3 + c];
    };
    // Step just across each edge of each face and compare with the texel the lookup lands on.
    double total = 0;
    int samples = 0, worst = 0;
    for (int f = 0; f < 6; ++f)
        for (int i = 0; i < size; ++i)
            for (int edge = 0; edge < 4; ++edge) {
                double along = 2.0 * (i + 0.5) / size - 1.0, beyond = 1.0 + 1.0 / size;
                double sc = edge == 0 ? -beyond : edge == 1 ? beyond : along;
                double tc = edge == 2 ? -beyond : edge == 3 ? beyond : along;
                int column = edge == 0 ? 0 : edge == 1 ? size - 1 : i;
                int row = edge == 2 ? 0 : edge == 3 ? size - 1 : i;
                double r[3];
                direction(f, sc, tc, r);
                int g, gc, gr;
                lookUp(r, size, &g, &gc, &gr);
                ASSERT_NE(g, f);
                int difference = 0;
                for (int c = 0; c < 3; ++c)
                    difference += std::abs(texel(f, column, row, c) - texel(g, gc, gr, c));
                total += difference / 3.0;
                worst = std::max(worst, difference / 3);
                ++samples;
            }
    EXPECT_LT(total / samples, 3.0);
    EXPECT_LT(worst, 40);
    for (RgbImage* image : faces)
        freeImage(image);
}

// The mean of channel c over 'count' RGB pixels.
double mean(const unsigned char* pixels, int count, int c) {
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += pixels[i * 3 + c];
    return sum / count;
}

TEST(SkyImages, SkyAboveTheHorizonSeaHazeBelow) {
    std::string folder = generatedFolder("sky_a");
    RgbImage* up = loadBmpImage((folder + "/iypos.bmp").c_str());
    RgbImage* down = loadBmpImage((folder + "/iyneg.bmp").c_str());
    ASSERT_TRUE(up && down);
    int n = up->width * up->height;
    EXPECT_GT(mean(up->pixels, n, 2), mean(up->pixels, n, 0) + 30) << "the sky overhead is blue";
    EXPECT_GT(mean(up->pixels, n, 2), mean(down->pixels, n, 2))
        << "the mirrored sky is brighter than the haze below the horizon";
    int rowLength = 0, height = 0;
    unsigned char* clouds = readJpeg((folder + "/cloudy1.jpg").c_str(), &rowLength, &height);
    ASSERT_NE(clouds, nullptr);
    EXPECT_EQ(rowLength / 3, height) << "the dome texture is square";
    unsigned char* bottom = readJpeg((folder + "/bottom.jpg").c_str(), &rowLength, &height);
    ASSERT_NE(bottom, nullptr);
    n = rowLength / 3 * height;
    double red = mean(bottom, n, 0), green = mean(bottom, n, 1), blue = mean(bottom, n, 2);
    EXPECT_TRUE(red < green && red < blue) << "deep blue-green";
    EXPECT_LT((red + green + blue) / 3, 110) << "and dark";
    std::free(clouds);
    std::free(bottom);
    freeImage(up);
    freeImage(down);
}

TEST(SkyImages, SameBytesOnEveryRun) {
    std::string a = generatedFolder("sky_a"), b = generatedFolder("sky_b");
    for (const char* name : {"ixpos.bmp", "izneg.bmp", "bottom.jpg", "cloudy1.jpg"}) {
        std::ifstream fa(a + "/" + name, std::ios::binary), fb(b + "/" + name, std::ios::binary);
        std::string da((std::istreambuf_iterator<char>(fa)), {}),
            db((std::istreambuf_iterator<char>(fb)), {});
        EXPECT_FALSE(da.empty()) << name;
        EXPECT_EQ(da, db) << name;
    }
}

} // namespace
