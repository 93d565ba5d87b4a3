// The water without GL: the hull mask file, the normalisation cube and the view cone (the sky dome and the
// water's model-to-world matrix show in the pictures of tests/e2e/start.cpp).
#include "scene/view.h"
#include "water/cube_maps.h"
#include "water/gunwale_mask.h"
#include "water/tiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

namespace {

typedef std::vector<unsigned char> Bytes;

std::string numbers(int count, const char* separator = " ") {
    std::string text;
    for (int i = 1; i <= count; i++)
        text += std::to_string(i) + separator;
    return text;
}

TEST(HullMask, ReadsAPointsThenBPointsWhateverTheLayoutAndRefusesShortFiles) {
    // Line breaks do not matter and words beyond the 132nd are ignored.
    for (const std::string& text : {numbers(132), numbers(132, "\n\t"), numbers(132) + " 999 junk"}) {
        std::istringstream in(text);
        ASSERT_TRUE(readGunwaleMask(in));
        const GunwaleMaskPoints& m = gunwaleMask;
        EXPECT_TRUE(m.a[0][0] == 1 && m.a[0][2] == 3 && m.a[21][2] == 66 && m.b[0][0] == 67 &&
                    m.b[21][2] == 132);
    }
    std::istringstream in("-1.5e1 abc 2.5x " + numbers(129)); // words convert like atof
    ASSERT_TRUE(readGunwaleMask(in));
    EXPECT_TRUE(gunwaleMask.a[0][0] == -15 && gunwaleMask.a[0][1] == 0 && gunwaleMask.a[0][2] == 2.5f);
    // Short files are refused with their count.
    for (int count : {0, 1, 66, 131}) {
        std::istringstream in(numbers(count));
        testing::internal::CaptureStdout();
        EXPECT_FALSE(readGunwaleMask(in)) << count;
        std::string message = testing::internal::GetCapturedStdout();
        EXPECT_NE(message.find("gunwale.mask: only " + std::to_string(count) + " of 132"), std::string::npos)
            << message;
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

int visibleFrom(float heading, double x = 127, double y = 127) {
    cameraHeading = heading, camX = x, camY = y;
    computeViewCone();
    return countVisibleTiles(127, 127, viewConeApex, viewConeEdgeA, viewConeEdgeB);
}

TEST(ViewCone, TilesKeptByTheConeOfTheView) {
    EXPECT_NEAR(verticalFieldOfView(1280.0f / 1024.0f), 77.32, 0.01);
    EXPECT_NEAR(verticalFieldOfView(1.0f), 90.0, 1e-4);
    // Heading 40 from (127, 127): apex near (42.2, 25.9), edges at 95 and 5 degrees, so the centres with x
    // and y from 64 to 448 lie inside; those at x = -64 lie beyond the 95 degree edge, those at y = -64
    // behind the 5 degree one.
    EXPECT_EQ(visibleFrom(40), 16);
    for (int tx = -4; tx <= 3; ++tx)
        for (int ty = -4; ty <= 3; ++ty)
            EXPECT_EQ(tileInViewCone(tx, ty, viewConeApex, viewConeEdgeA, viewConeEdgeB), tx >= 0 && ty >= 0)
                << tx << "," << ty;
    EXPECT_EQ(countVisibleTiles(-1, -1, viewConeApex, viewConeEdgeA, viewConeEdgeB), 16)
        << "(-1, -1) truncates to the same block as (127, 127)";
    EXPECT_EQ(visibleFrom(0), 19) << "heading 0, as the tile counter shows it";
    EXPECT_EQ(visibleFrom(180, 127, -5000), 0) << "a cone far away, looking away";
    const struct {
        const char* what;
        float heading;
        int tx, ty;
        bool drawn;
    } cases[] = {{"straight ahead at heading 0", 0, 0, 2, true},
                 {"beside the apex, outside the 45 degree edge", 0, -3, 0, false},
                 {"on the far diagonal at heading 0", 0, 3, 3, true},
                 {"behind at heading 90", 90, -3, 0, false},
                 {"heading 400 acts as heading 40", 400, 0, 2, true},
                 {"heading 180 looks toward -y", 180, 0, -3, true}};
    for (const auto& k : cases) {
        visibleFrom(k.heading);
        EXPECT_EQ(tileInViewCone(k.tx, k.ty, viewConeApex, viewConeEdgeA, viewConeEdgeB), k.drawn) << k.what;
    }
}

} // namespace
