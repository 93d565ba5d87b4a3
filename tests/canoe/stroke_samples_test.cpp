// The stroke sample file: layout, whitespace, and the counts that would stop the rocking.
#include "canoe/stroke_samples.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

bool readText(const std::string& text, std::string* printed = nullptr) {
    std::istringstream in(text);
    testing::internal::CaptureStdout();
    bool ok = readStrokeFile(in);
    std::string out = testing::internal::GetCapturedStdout();
    if (printed) *printed = out;
    return ok;
}

TEST(StrokeSamples, ThreeSamplesFromTwentyOneNumbersWhateverTheLineBreaks) {
    for (const char* text :
         {"7 3\n1 2 3 4 5 6 7 8 9\n10 11 12 13 14 15 16 17 18\n19 20 21",
          "label\t3 1\n2\n3 4 5 6 7 8 9 10 11 12 13 14 15\n16 17 18 19 20\n21 trailing words"}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(readText(text));
        EXPECT_EQ(strokeSamples.sampleCount, 3);
        for (int i = 0; i < 9; i++) { // all points A, then all points B, then the spin angles
            EXPECT_DOUBLE_EQ(strokeSamples.pointA[i / 3][i % 3], 1 + i);
            EXPECT_DOUBLE_EQ(strokeSamples.pointB[i / 3][i % 3], 10 + i);
        }
        EXPECT_DOUBLE_EQ(strokeSamples.spinAngle[2], 21);
    }
    // A short file keeps its count; what it lacks reads as zeroes.
    ASSERT_TRUE(readText("s 2 1 2 3"));
    EXPECT_EQ(strokeSamples.sampleCount, 2);
    EXPECT_DOUBLE_EQ(strokeSamples.pointA[0][2], 3);
    EXPECT_DOUBLE_EQ(strokeSamples.pointA[1][0], 0);
    EXPECT_DOUBLE_EQ(strokeSamples.spinAngle[1], 0);
}

TEST(StrokeSamples, UnusableCountsHoldTheCanoeLevel) {
    const struct {
        const char* text;
        bool usable;
        int count;
    } cases[] = {
        {"", false, 0}, // a missing file reads nothing
        {"s 0", false, 0},
        {"s 1001", false, 0},
        {"s many", false, 0},           // a word that is not a number counts 0
        {"9 1 0 0 0 0 0 0 0", true, 1}, // a numeric label is still only a label
        {"s 1000", true, 1000},
    };
    for (const auto& c : cases) {
        std::string printed;
        EXPECT_EQ(readText(c.text, &printed), c.usable) << c.text;
        EXPECT_EQ(strokeSamples.sampleCount, c.count) << c.text;
        if (!c.usable) {
            EXPECT_NE(printed.find("fstroke.stroke"), std::string::npos) << c.text;
        }
    }
}

} // namespace
