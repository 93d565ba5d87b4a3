// Reading "gunwale.mask": 132 words, A's points before B's, atof rules, a short file refused.
#include "water/hull_mask.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

std::string numbers(int count, const char* separator = " ") {
    std::string text;
    for (int i = 1; i <= count; i++)
        text += std::to_string(i) + separator;
    return text;
}

TEST(HullMask, ReadsAPointsThenBPoints) {
    std::istringstream in(numbers(132));
    ASSERT_TRUE(readGunwaleMask(in));
    EXPECT_FLOAT_EQ(gunwaleMask.a[0][0], 1);
    EXPECT_FLOAT_EQ(gunwaleMask.a[0][2], 3);
    EXPECT_FLOAT_EQ(gunwaleMask.a[21][2], 66);
    EXPECT_FLOAT_EQ(gunwaleMask.b[0][0], 67);
    EXPECT_FLOAT_EQ(gunwaleMask.b[21][2], 132);
}

TEST(HullMask, LineLayoutDoesNotMatterAndExtraWordsAreIgnored) {
    std::istringstream oneLine(numbers(132) + " 999 junk");
    std::istringstream manyLines(numbers(132, "\n\t"));
    ASSERT_TRUE(readGunwaleMask(oneLine));
    GunwaleMaskPoints first = gunwaleMask;
    ASSERT_TRUE(readGunwaleMask(manyLines));
    for (int i = 0; i < GUNWALE_POINTS; i++)
        for (int c = 0; c < 3; c++) {
            EXPECT_EQ(first.a[i][c], gunwaleMask.a[i][c]);
            EXPECT_EQ(first.b[i][c], gunwaleMask.b[i][c]);
        }
}

TEST(HullMask, WordsConvertLikeAtof) {
    std::string text = "-1.5e1 abc 2.5x";
    text += " " + numbers(129);
    std::istringstream in(text);
    ASSERT_TRUE(readGunwaleMask(in));
    EXPECT_FLOAT_EQ(gunwaleMask.a[0][0], -15.0f);
    EXPECT_FLOAT_EQ(gunwaleMask.a[0][1], 0.0f);
    EXPECT_FLOAT_EQ(gunwaleMask.a[0][2], 2.5f);
}

TEST(HullMask, ShortFilesAreRefusedWithTheirCount) {
    for (int count : {0, 1, 66, 131}) {
        std::istringstream in(numbers(count));
        testing::internal::CaptureStdout();
        EXPECT_FALSE(readGunwaleMask(in)) << count;
        std::string message = testing::internal::GetCapturedStdout();
        EXPECT_NE(message.find("gunwale.mask"), std::string::npos);
        EXPECT_NE(message.find("only " + std::to_string(count) + " of 132"), std::string::npos) << message;
    }
}

} // namespace
