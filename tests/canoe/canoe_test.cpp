// The canoe: its text readers (the shape files' token rules, 1-based faces, the axe string's shift and
// guards; the stroke samples), its cylindrical texture coordinates, materials and rocking.
#include "canoe/shape_file.h"
#include "canoe/stroke_samples.h"
#include "canoe/cylinder_tex_coords.h"
#include "canoe/materials.h"
#include "canoe/rocking.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// Reads 'text' as the shape file of slot 'index', or as the stroke samples for STROKES; what the reader
// printed goes to 'printed'.
const int STROKES = 99;
bool readText(const std::string& text, int index, std::string* printed = nullptr) {
    std::istringstream in(text);
    testing::internal::CaptureStdout();
    bool ok = index == STROKES ? readStrokeFile(in) : readShapeFile(in, index);
    std::string out = testing::internal::GetCapturedStdout();
    if (printed) *printed = out;
    return ok;
}

const char* const TRIANGLE = "vertices 3\nnormals 3\nfaces 1\n"
                             "0 0 0\n1 0 0\n0 1 0\n"
                             "0 0 1\n0 0 1\n0 0 1\n"
                             "1 99 1 2 x 2 3 3 3\n";
// Three zero vertices and normals and one face, whose nine numbers follow.
const std::string THREE = "v 3 n 3 f 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ";

// Tokens split by any whitespace and converted like atoi and atof ("3.9" as a count is 3, "1e1" 10, "x" 0,
// "3abc" 3); labels are anything; the unused texture numbers are stored as read, 1-based like the rest.
TEST(ShapeFile, ReadsCountsVerticesNormalsAndOneBasedFaces) {
    ASSERT_TRUE(readText("a 3.9\tb\n3 ## 1\n1e1 x 3abc\n\n-0.5 +2 .25\t0 1 0\n0 0 1 0 0 1 0 0 1\n"
                         "1 99 1 2 x 2 3 3 3",
                         1));
    const ShapeFile& s = canoeShapes[1];
    EXPECT_TRUE(s.vertexCount == 3 && s.normalCount == 3 && s.faceCount == 1);
    const float vertices[9] = {10, 0, 3, -0.5f, 2, 0.25f, 0, 1, 0};
    const int faces[9] = {0, 98, 0, 1, -1, 1, 2, 2, 2};
    for (int k = 0; k < 9; k++) {
        EXPECT_FLOAT_EQ(s.vertices[k / 3][k % 3], vertices[k]) << k;
        EXPECT_FLOAT_EQ(s.normals[k / 3][k % 3], k % 3 == 2 ? 1.0f : 0.0f) << k;
        EXPECT_EQ(s.faces[0][k], faces[k]) << k;
    }
    // An empty shape, a shape at the capacity itself, and texture-coordinate numbers at the ends of a long
    // (clamped into 32 bits) are all accepted.
    ASSERT_TRUE(readText("v 0 n 0 f 0", 5));
    EXPECT_EQ(canoeShapes[5].vertexCount, 0);
    std::string text = "v 20000 n 0 f 0\n";
    for (int i = 0; i < SHAPE_CAPACITY; i++)
        text += "1 2 3\n";
    ASSERT_TRUE(readText(text, 8));
    EXPECT_EQ(canoeShapes[8].vertexCount, SHAPE_CAPACITY);
    EXPECT_FLOAT_EQ(canoeShapes[8].vertices[SHAPE_CAPACITY - 1][2], 3.0f);
    ASSERT_TRUE(readText(THREE + "1 -99999999999999999999 1 2 99999999999999999999 2 3 0 3", 7));
    const int32_t* clamped = canoeShapes[7].faces[0];
    EXPECT_TRUE(clamped[1] == INT32_MIN && clamped[4] == INT32_MAX && clamped[7] == -1);
}

// Only the axe string is shifted, and only the seat net needs the 8 vertices and normals of its quads
// (it is accepted without them, with a warning).
TEST(ShapeFile, RulesOfSingleSlots) {
    for (int index : {SEAT_NET_SHAPE, 10, 12, AXE_STRING_SHAPE, 14}) {
        std::string printed;
        ASSERT_TRUE(readText(TRIANGLE, index, &printed));
        EXPECT_FLOAT_EQ(canoeShapes[index].vertices[0][2], index == AXE_STRING_SHAPE ? -0.5f : 0.0f) << index;
        EXPECT_FLOAT_EQ(canoeShapes[index].normals[0][2], 1.0f) << "normals are never shifted";
        bool warned = printed.find("finseatnet.shad: fewer than 8 vertices and normals") == 0;
        EXPECT_TRUE(index == SEAT_NET_SHAPE ? warned : printed.empty()) << index << ": " << printed;
    }
}

TEST(ShapeFile, BadFilesAreRefusedAndLeaveAnEmptyRecord) {
    const struct {
        std::string text;
        const char* says;
    } cases[] = {
        {"v 20001 n 0 f 0", "fixfinribs.shad: vertex count 20001 is outside 0 to 20000"},
        {"v 0 n 0 f 20001", "face count 20001 is outside"},
        {"", "ends before its vertex count"},
        {"v 3 n 3 f 1 0 0 0 1 0", "ends inside its vertices"},
        {THREE + "1 1 1 2 2 2 4 4 3", "face 1 uses vertex 4 of 3"},
        {THREE + "1 1 1 2 2 2 3 3 4", "face 1 uses normal 4 of 3"},
        {THREE + "0 1 1 2 2 2 3 3 3", "face 1 uses vertex 0 of 3"},
        // Saturates at LONG_MIN; one below that overflowed (found by fuzz/shape_file_fuzz).
        {THREE + "-99999999999999999999 1 1 2 2 2 3 3 3", "face 1 uses vertex -9223372036854775808 of 3"}};
    for (const auto& c : cases) {
        std::string printed;
        EXPECT_FALSE(readText(c.text, 7, &printed)) << c.text;
        EXPECT_NE(printed.find(c.says), std::string::npos) << c.text << ": " << printed;
        const ShapeFile& s = canoeShapes[7];
        EXPECT_EQ(s.vertexCount + s.normalCount + s.faceCount, 0) << c.text;
    }
    EXPECT_FALSE(readText(TRIANGLE, 16)); // an index outside the table
    EXPECT_FALSE(readText(TRIANGLE, -1));
}

TEST(StrokeSamples, ThreeSamplesFromTwentyOneNumbersWhateverTheLineBreaksAndUnusableCountsRefused) {
    for (const char* text :
         {"7 3\n1 2 3 4 5 6 7 8 9\n10 11 12 13 14 15 16 17 18\n19 20 21",
          "label\t3 1\n2\n3 4 5 6 7 8 9 10 11 12 13 14 15\n16 17 18 19 20\n21 trailing words"}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(readText(text, STROKES));
        EXPECT_EQ(strokeSamples.sampleCount, 3);
        for (int i = 0; i < 9; i++) { // all points A, then all points B, then the spin angles
            EXPECT_DOUBLE_EQ(strokeSamples.pointA[i / 3][i % 3], 1 + i);
            EXPECT_DOUBLE_EQ(strokeSamples.pointB[i / 3][i % 3], 10 + i);
        }
        EXPECT_DOUBLE_EQ(strokeSamples.spinAngle[2], 21);
    }
    // A short file keeps its count; what it lacks reads as zeroes.
    ASSERT_TRUE(readText("s 2 1 2 3", STROKES));
    EXPECT_EQ(strokeSamples.sampleCount, 2);
    EXPECT_DOUBLE_EQ(strokeSamples.pointA[0][2], 3);
    EXPECT_DOUBLE_EQ(strokeSamples.pointA[1][0], 0);
    EXPECT_DOUBLE_EQ(strokeSamples.spinAngle[1], 0);
    // Counts that would stop the rocking hold the canoe level.
    const struct {
        const char* text;
        bool usable;
        int count;
    } cases[] = {{"", false, 0}, // a missing file reads nothing
                 {"s 0", false, 0},
                 {"s 1001", false, 0},
                 {"s many", false, 0},           // a word that is not a number counts 0
                 {"9 1 0 0 0 0 0 0 0", true, 1}, // a numeric label is still only a label
                 {"s 1000", true, 1000}};
    for (const auto& c : cases) {
        std::string printed;
        EXPECT_EQ(readText(c.text, STROKES, &printed), c.usable) << c.text;
        EXPECT_EQ(strokeSamples.sampleCount, c.count) << c.text;
        if (!c.usable) {
            EXPECT_NE(printed.find("fstroke.stroke"), std::string::npos) << c.text;
        }
    }
}

TEST(CylinderTexCoords, Cases) {
    const double x0 = CYLINDER_X, y0 = CYLINDER_Y;
    // Points at 0.9 and -0.9 degrees about the axis, one unit to the side.
    const float y09 = static_cast<float>(y0 - std::tan(0.9 * M_PI / 180)),
                y45 = static_cast<float>(y0 - 10.0);
    const float left1 = static_cast<float>(x0 - 1), right1 = static_cast<float>(x0 + 1);
    const float right10 = static_cast<float>(x0 + 10.0001);
    const struct {
        const char* what;
        float x, y, z;
        double offset, s, t; // s < 0, t < 0: not checked
    } cases[] = {{"on the axis's x below it: atan(+inf) = 90", CYLINDER_X, 0.0f, CYLINDER_Z0, 0, 0.5, 0.0},
                 {"on the axis's x above it: atan(-inf) = -90", CYLINDER_X, 20.0f, CYLINDER_Z1, 90, 1.0, 1.0},
                 {"0.9 degrees truncates to 0", left1, y09, 0.0f, 0, 0.0, -1},
                 {"-0.9 degrees truncates to 0 as well", right1, y09, 0.0f, 90, 0.5, -1},
                 {"-45 degrees gives the same s", right10, y45, 0.0f, 90, 134.0 / 180, -1},
                 {"level with the axis", 10.0f, CYLINDER_Y, 0.0f, 90, 0.5, -1},
                 {"beyond z1 the texture repeats", 3.0f, 0.0f, 2 * CYLINDER_Z1 - CYLINDER_Z0, 0, -1, 2.0},
                 {"on the axis itself", CYLINDER_X, CYLINDER_Y, 0.0f, 90, 0.5, -1}};
    static ShapeFile shape;
    shape.vertexCount = sizeof cases / sizeof cases[0];
    shape.texCoords[shape.vertexCount][0] = 7.0f; // beyond the count: never written
    for (int i = 0; i < shape.vertexCount; i++) {
        shape.vertices[i][0] = cases[i].x, shape.vertices[i][1] = cases[i].y,
        shape.vertices[i][2] = cases[i].z;
        cylinderTexCoords(shape, cases[i].offset);
        if (cases[i].s >= 0) {
            EXPECT_NEAR(shape.texCoords[i][0], cases[i].s, 1e-6) << cases[i].what;
        }
        if (cases[i].t >= 0) {
            EXPECT_NEAR(shape.texCoords[i][1], cases[i].t, 1e-5) << cases[i].what;
        }
    }
    EXPECT_FLOAT_EQ(shape.texCoords[shape.vertexCount][0], 7.0f);
}

// OpenGL refuses a shininess above 128 and keeps the one in force, so a list with such a value must leave
// the call out rather than raise an error every frame.

TEST(Materials, ShininessOutsideOpenGLsRangeIsLeftOut) {
    EXPECT_TRUE(shininessAccepted(0) && shininessAccepted(128) && !shininessAccepted(128.5f) &&
                !shininessAccepted(-1));
    // Only list 3 (the ribs, rib ends, seat nets and axe handle) keeps the shininess before it.
    for (int i = 0; i < CANOE_MATERIAL_COUNT; i++)
        EXPECT_EQ(shininessAccepted(canoeMaterials[i].shininess), i != 2) << "list " << i + 1;
}

// 20 samples a second for 60 samples, a 3-second cycle from sample 0, and no division by a zero count.

void setUpRocking(int n) {
    strokeSamples.sampleCount = n;
    rockIndex = 0;
    initRocking();
}

TEST(Rocking, TablesFollowHalfASineAndTheSampleTheScenesTime) {
    setUpRocking(60);
    EXPECT_TRUE(rockMode == 1 && rockRate == 20.0);
    EXPECT_DOUBLE_EQ(rockPitchTable[0], 0.0);
    EXPECT_NEAR(rockPitchTable[30], -1.0, 1e-9); // the middle of the cycle
    EXPECT_NEAR(rockRollTable[30], -10.0, 1e-8);
    EXPECT_DOUBLE_EQ(rockPitchTable[60], 0.0); // beyond the count: untouched
    const struct {
        const char* what;
        int n;
        double t;
        int index;
    } cases[] = {{"the first frame", 60, 0, 0},
                 {"20 samples a second", 60, 0.125, 2},
                 {"end of the cycle", 60, 2.9375, 58},
                 {"a whole cycle", 60, 3.0, 0},
                 {"200 samples: 3 cycles and 20", 60, 10.0, 20},
                 {"no samples", 0, 1.5, 0},
                 {"too many samples", 5000, 1.5, 0}};
    for (const auto& c : cases) {
        setUpRocking(c.n);
        advanceRockingAt(c.t);
        EXPECT_EQ(rockIndex, c.index) << c.what;
    }
}

} // namespace
