// Reading "gunwale.mask": 132 words, A's points before B's, atof rules, a short file refused.
#include "water/gunwale_mask.h"

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

TEST(HullMask, ReadsAPointsThenBPointsWhateverTheLayout) {
    // Line breaks do not matter and words beyond the 132nd are ignored.
    for (const std::string& text : {numbers(132), numbers(132, "\n\t"), numbers(132) + " 999 junk"}) {
        std::istringstream in(text);
        ASSERT_TRUE(readGunwaleMask(in));
        EXPECT_FLOAT_EQ(gunwaleMask.a[0][0], 1);
        EXPECT_FLOAT_EQ(gunwaleMask.a[0][2], 3);
        EXPECT_FLOAT_EQ(gunwaleMask.a[21][2], 66);
        EXPECT_FLOAT_EQ(gunwaleMask.b[0][0], 67);
        EXPECT_FLOAT_EQ(gunwaleMask.b[21][2], 132);
    }
    std::istringstream in("-1.5e1 abc 2.5x " + numbers(129)); // words convert like atof
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
        EXPECT_NE(message.find("gunwale.mask: only " + std::to_string(count) + " of 132"), std::string::npos)
            << message;
    }
}

} // namespace
