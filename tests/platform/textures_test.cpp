// The texture makers' pixel work that needs no GL: the black key of the keyed BMP textures.
#include "platform/textures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

TEST(BlackKeyAlpha, AnyZeroChannelIsTransparent) {
    const unsigned char rgb[] = {0, 200, 200, 0, 0, 0, 1, 1, 1, 200, 0, 7, 9, 9, 0, 255, 255, 255};
    const std::vector<unsigned char> rgba = {0,   200, 200, 0, 0, 0, 0, 0, 1,   1,   1,   255,
                                             200, 0,   7,   0, 9, 9, 0, 0, 255, 255, 255, 255};
    unsigned char* got = addBlackKeyAlpha(3, 2, rgb);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(got, got + rgba.size()), rgba);
    std::free(got);
}

} // namespace
