// The shape file reader: token rules, 1-based faces, the axe string's shift, and every guard that keeps
// a damaged file from reading or writing past the record.
#include "canoe/shape_file.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool readText(const std::string& text, int index) {
    std::istringstream in(text);
    return readShapeFile(in, index);
}

const char* const TRIANGLE = "vertices 3\nnormals 3\nfaces 1\n"
                             "0 0 0\n1 0 0\n0 1 0\n"
                             "0 0 1\n0 0 1\n0 0 1\n"
                             "1 1 1 2 2 2 3 3 3\n";

TEST(ShapeFile, ReadsCountsVerticesNormalsAndOneBasedFaces) {
    ASSERT_TRUE(readText(TRIANGLE, 1));
    const ShapeFile& s = canoeShapes[1];
    EXPECT_EQ(s.vertexCount, 3);
    EXPECT_EQ(s.normalCount, 3);
    EXPECT_EQ(s.faceCount, 1);
    EXPECT_FLOAT_EQ(s.vertices[1][0], 1.0f);
    EXPECT_FLOAT_EQ(s.vertices[2][1], 1.0f);
    EXPECT_FLOAT_EQ(s.normals[2][2], 1.0f);
    const int expected[9] = {0, 0, 0, 1, 1, 1, 2, 2, 2};
    for (int k = 0; k < 9; k++)
        EXPECT_EQ(s.faces[0][k], expected[k]) << k;
}

TEST(ShapeFile, AnyWhitespaceSeparatesTokens) {
    ASSERT_TRUE(readText("a 3\tb\n3 c 1 0 0 0 1 0 0\n\n0 1 0 0\t0 1 0 0 1 0 0 1 1 1 1 2 2 2 3 3 3", 2));
    ShapeFile one = canoeShapes[2];
    ASSERT_TRUE(readText(TRIANGLE, 2));
    EXPECT_EQ(one.vertexCount, canoeShapes[2].vertexCount);
    EXPECT_FLOAT_EQ(one.vertices[1][0], canoeShapes[2].vertices[1][0]);
    EXPECT_FLOAT_EQ(one.vertices[2][1], canoeShapes[2].vertices[2][1]);
}

TEST(ShapeFile, NumbersConvertLikeAtoiAndAtof) {
    // "2.9" as a count is 2; "1e1" as a coordinate is 10; "x" is 0; "3abc" is 3; labels are anything.
    ASSERT_TRUE(readText("12 2.9 34 2 ## 0\n1e1 x 3abc  -0.5 +2 .25\n0 0 1 0 1 0\n", 3));
    const ShapeFile& s = canoeShapes[3];
    EXPECT_EQ(s.vertexCount, 2);
    EXPECT_EQ(s.faceCount, 0);
    EXPECT_FLOAT_EQ(s.vertices[0][0], 10.0f);
    EXPECT_FLOAT_EQ(s.vertices[0][1], 0.0f);
    EXPECT_FLOAT_EQ(s.vertices[0][2], 3.0f);
    EXPECT_FLOAT_EQ(s.vertices[1][0], -0.5f);
    EXPECT_FLOAT_EQ(s.vertices[1][1], 2.0f);
    EXPECT_FLOAT_EQ(s.vertices[1][2], 0.25f);
}

TEST(ShapeFile, OnlyTheAxeStringIsShiftedHalfAUnitInZ) {
    for (int index : {12, 13, 14}) {
        ASSERT_TRUE(readText(TRIANGLE, index));
        float shift = index == AXE_STRING_SHAPE ? 0.5f : 0.0f;
        EXPECT_FLOAT_EQ(canoeShapes[index].vertices[0][2], 0.0f - shift) << index;
        EXPECT_FLOAT_EQ(canoeShapes[index].normals[0][2], 1.0f) << "normals are never shifted";
    }
}

TEST(ShapeFile, EmptyShapeIsAccepted) {
    ASSERT_TRUE(readText("v 0 n 0 f 0", 5));
    EXPECT_EQ(canoeShapes[5].vertexCount, 0);
    EXPECT_EQ(canoeShapes[5].faceCount, 0);
}

TEST(ShapeFile, SeatNetsWithoutTheirTwoQuadsAreAcceptedWithAWarning) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(readText(TRIANGLE, SEAT_NET_SHAPE));
    std::string message = testing::internal::GetCapturedStdout();
    EXPECT_NE(message.find("finseatnet.shad: fewer than 8 vertices and normals"), std::string::npos)
        << message;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(readText(TRIANGLE, 10)); // other shapes need no minimum
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(ShapeFile, TheUnusedTextureNumberIsStoredAsRead) {
    ASSERT_TRUE(readText("v 3 n 3 f 1  0 0 0 1 0 0 0 1 0  0 0 1 0 0 1 0 0 1  1 99 1 2 x 2 3 0 3", 4));
    EXPECT_EQ(canoeShapes[4].faces[0][1], 98);
    EXPECT_EQ(canoeShapes[4].faces[0][4], -1);
    EXPECT_EQ(canoeShapes[4].faces[0][7], -1);
}

struct BadFile {
    const char* what;
    const char* text;
};

class ShapeFileRefusal : public testing::TestWithParam<BadFile> {};

TEST_P(ShapeFileRefusal, RefusesAndLeavesAnEmptyRecord) {
    testing::internal::CaptureStdout();
    EXPECT_FALSE(readText(GetParam().text, 7));
    std::string message = testing::internal::GetCapturedStdout();
    EXPECT_NE(message.find("fixfinribs.shad"), std::string::npos) << message;
    EXPECT_EQ(canoeShapes[7].vertexCount, 0);
    EXPECT_EQ(canoeShapes[7].normalCount, 0);
    EXPECT_EQ(canoeShapes[7].faceCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShapeFileRefusal,
    testing::Values(
        BadFile{"vertex count above capacity", "v 20001 n 0 f 0"},
        BadFile{"normal count above capacity", "v 0 n 99999999999999999999 f 0"},
        BadFile{"face count above capacity", "v 0 n 0 f 20001"}, BadFile{"negative count", "v -1 n 0 f 0"},
        BadFile{"empty file", ""}, BadFile{"ends inside the counts", "v 3 n"},
        BadFile{"ends inside the vertices", "v 3 n 3 f 1 0 0 0 1 0"},
        BadFile{"ends inside the normals", "v 1 n 2 f 0 0 0 0 0 0 1"},
        BadFile{"ends inside the faces", "v 3 n 3 f 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 1 1 2 2"},
        BadFile{"vertex number above the count", "v 3 n 3 f 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
                                                 "1 1 1 2 2 2 4 4 3"},
        BadFile{"normal number above the count", "v 3 n 3 f 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
                                                 "1 1 1 2 2 2 3 3 4"},
        BadFile{"vertex number 0", "v 3 n 3 f 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
                                   "0 1 1 2 2 2 3 3 3"},
        BadFile{"a face word that is not a number", "v 3 n 3 f 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
                                                    "1 1 1 two 2 2 3 3 3"},
        BadFile{"faces without vertices", "v 0 n 0 f 1 1 1 1 1 1 1 1 1 1"}),
    [](const testing::TestParamInfo<BadFile>& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (!isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(ShapeFile, CapacityItselfIsAccepted) {
    std::string text = "v 20000 n 0 f 0\n";
    text.reserve(20000 * 6 + 20);
    for (int i = 0; i < 20000; i++)
        text += "1 2 3\n";
    ASSERT_TRUE(readText(text, 8));
    EXPECT_EQ(canoeShapes[8].vertexCount, SHAPE_CAPACITY);
    EXPECT_FLOAT_EQ(canoeShapes[8].vertices[SHAPE_CAPACITY - 1][2], 3.0f);
}

TEST(ShapeFile, IndexOutsideTheTableIsRefused) {
    testing::internal::CaptureStdout();
    EXPECT_FALSE(readText(TRIANGLE, 16));
    EXPECT_FALSE(readText(TRIANGLE, -1));
    testing::internal::GetCapturedStdout();
}

TEST(ShapeFile, FileNamesInLoadOrder) {
    EXPECT_STREQ(shapeFileNames[0], "finouthull.shad");
    EXPECT_STREQ(shapeFileNames[2], shapeFileNames[6]); // loaded twice
    EXPECT_STREQ(shapeFileNames[9], "finseatnet.shad");
    EXPECT_STREQ(shapeFileNames[13], "fixfinaxstring.shad");
    EXPECT_STREQ(shapeFileNames[15], "finpaddle.shad");
    EXPECT_EQ(canoeShapeCount, 15);
}

} // namespace

namespace {

// Damaged copies of a valid file (words replaced, dropped or added, fixed seed): whatever the reader
// accepts must keep every face inside its counts, and counts inside the record.
TEST(ShapeFile, RandomDamageNeverEscapesTheRecord) {
    std::vector<std::string> valid;
    std::istringstream base("v 4 n 2 f 2  0 0 0  1 0 0  0 1 0  1 1 1  0 0 1  0 1 0"
                            "  1 1 1 2 1 1 3 1 2  2 2 2 3 1 1 4 4 2");
    for (std::string w; base >> w;)
        valid.push_back(w);
    {
        std::string text;
        for (const std::string& w : valid)
            text += w + " ";
        ASSERT_TRUE(readText(text, 11));
        ASSERT_EQ(canoeShapes[11].faceCount, 2);
    }
    const char* const replacements[] = {"-1",          "0",   "5",   "20000", "20001", "2147483648",
                                        "-2147483649", "1e9", "nan", "inf",   "x",     "99999999999999999999",
                                        "3.7",         "+2",  ""};
    unsigned seed = 12345;
    auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    int accepted = 0;
    for (int round = 0; round < 3000; round++) {
        std::vector<std::string> words = valid;
        for (int k = 1 + next(3); k > 0; k--) {
            unsigned at = next(static_cast<unsigned>(words.size()));
            unsigned what = next(3);
            if (what == 0)
                words[at] = replacements[next(sizeof replacements / sizeof replacements[0])];
            else if (what == 1)
                words.erase(words.begin() + at);
            else
                words.insert(words.begin() + at,
                             replacements[next(sizeof replacements / sizeof replacements[0])]);
            if (words.empty()) break;
        }
        std::string text;
        for (const std::string& w : words)
            text += w + " ";
        testing::internal::CaptureStdout();
        bool ok = readText(text, 11);
        testing::internal::GetCapturedStdout();
        const ShapeFile& s = canoeShapes[11];
        ASSERT_GE(s.vertexCount, 0);
        ASSERT_LE(s.vertexCount, SHAPE_CAPACITY);
        ASSERT_LE(s.normalCount, SHAPE_CAPACITY);
        ASSERT_LE(s.faceCount, SHAPE_CAPACITY);
        if (!ok) continue;
        accepted++;
        for (int f = 0; f < s.faceCount; f++)
            for (int c = 0; c < 3; c++) {
                ASSERT_GE(s.faces[f][3 * c], 0) << text;
                ASSERT_LT(s.faces[f][3 * c], s.vertexCount) << text;
                ASSERT_GE(s.faces[f][3 * c + 2], 0) << text;
                ASSERT_LT(s.faces[f][3 * c + 2], s.normalCount) << text;
            }
    }
    EXPECT_GT(accepted, 100); // harmless damage (a coordinate changed) is still read
}

} // namespace
