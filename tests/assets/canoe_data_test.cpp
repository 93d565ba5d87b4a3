// The generated canoe data read back through the program's own readers: every file accepted, and the
// boat where the fixed transforms expect it (length along z over the texture cylinder, gunwales near
// y = 6.5, bottom below the water at y = -5, the mask on the inner rim).
#include "assets/canoe_images.h"
#include "assets/writers.h"
#include "base/bmp.h"
#include "canoe/shape_file.h"
#include "canoe/stroke_samples.h"
#include "water/gunwale_mask.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

class CanoeData : public testing::Test {
  protected:
    static std::string folder;
    static void SetUpTestSuite() {
        std::string pattern = testing::TempDir() + "canoe_data_XXXXXX";
        char* made = mkdtemp(&pattern[0]);
        ASSERT_NE(made, nullptr);
        folder = made;
        ASSERT_TRUE(writeCanoeData(folder));
        for (int i = 0; i < SHAPE_FILE_COUNT; i++) {
            std::ifstream in(folder + "/" + shapeFileNames[i]);
            ASSERT_TRUE(in.good()) << shapeFileNames[i];
            ASSERT_TRUE(readShapeFile(in, i)) << shapeFileNames[i];
        }
    }
    static void TearDownTestSuite() { std::system(("rm -rf '" + folder + "'").c_str()); }

    static void bounds(int shape, float low[3], float high[3]) {
        std::fill(low, low + 3, 1e9f), std::fill(high, high + 3, -1e9f);
        for (int i = 0; i < canoeShapes[shape].vertexCount; i++)
            for (int c = 0; c < 3; c++)
                low[c] = std::min(low[c], canoeShapes[shape].vertices[i][c]),
                high[c] = std::max(high[c], canoeShapes[shape].vertices[i][c]);
    }
};
std::string CanoeData::folder;

TEST_F(CanoeData, HullSpansTheTextureCylinderAndSitsInTheWater) {
    float low[3], high[3];
    bounds(4, low, high); // the bark skin
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
TEST_F(CanoeData, DrawnTrianglesAFrameStayWithinTheBudget) {
    int triangles = 0;
    for (int k = 0; k < canoeShapeCount; k++) // the bow and stern line twice, as shapes 2 and 6
        triangles += k == SEAT_NET_SHAPE ? 4 : canoeShapes[k].faceCount; // the nets: two quads
    EXPECT_LE(triangles, 15000);
}

TEST_F(CanoeData, AxeStringComesOutWhereItWasMeantAfterTheReadersShift) {
    float low[3], high[3], handleLow[3], handleHigh[3];
    bounds(13, low, high);
    bounds(12, handleLow, handleHigh);
    // The loop lies just behind the handle's butt, not half a unit off.
    EXPECT_LT(low[2], handleLow[2]);
    EXPECT_GT(high[2], handleLow[2] - 0.5f);
}

TEST_F(CanoeData, SixtyStrokeSamplesAndAMaskRimInsideTheGunwalesFromSternToBow) {
    std::ifstream stroke(folder + "/fstroke.stroke"), in(folder + "/gunwale.mask");
    ASSERT_TRUE(readStrokeFile(stroke));
    EXPECT_EQ(strokeSamples.sampleCount, 60);
    ASSERT_TRUE(readGunwaleMask(in));
    for (int i = 0; i < GUNWALE_POINTS; i++) {
        EXPECT_LE(gunwaleMask.a[i][0], gunwaleMask.b[i][0] + 1e-4f) << i;
        EXPECT_FLOAT_EQ(gunwaleMask.a[i][2], gunwaleMask.b[i][2]) << i;
        EXPECT_GT(gunwaleMask.a[i][1], 6.0f) << "at the gunwale, far above the water";
        EXPECT_GT(gunwaleMask.a[i][2], i > 0 ? gunwaleMask.a[i - 1][2] : -1e9f);
    }
    // The rim closes at the stems' curled heads, a few units inside the hull's full length.
    EXPECT_NEAR(gunwaleMask.a[0][2], -66.0f, 3.0f);
    EXPECT_NEAR(gunwaleMask.a[21][2], 75.0f, 3.0f);
    EXPECT_NEAR(gunwaleMask.b[10][0] - gunwaleMask.a[10][0], 28.0f, 2.0f) << "midship opening";
}

TEST_F(CanoeData, TexturesDecodeAndTheSeatKeysOnlyItsHoles) {
    for (const char* name : canoeTextureNames) {
        RgbImage* image = loadBmpImage((folder + "/" + name).c_str());
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
    EXPECT_GT(holes, 128 * 128 / 5);
    EXPECT_LT(holes, 128 * 128 * 4 / 5);
}

} // namespace
