// Which material lists may set their shininess: OpenGL refuses values above 128 and keeps the one in
// force, so a list with such a value must leave the call out rather than raise an error every frame.
#include "canoe/materials.h"

#include <gtest/gtest.h>

namespace {

TEST(Materials, ShininessOutsideOpenGLsRangeIsLeftOut) {
    const struct {
        float shininess;
        bool accepted;
    } cases[] = {{0, true}, {5, true}, {128, true}, {128.5f, false}, {200, false}, {-1, false}};
    for (const auto& c : cases)
        EXPECT_EQ(shininessAccepted(c.shininess), c.accepted) << c.shininess;
    // Only list 3 (the ribs, rib ends, seat nets and axe handle) keeps the shininess before it.
    for (int i = 0; i < CANOE_MATERIAL_COUNT; i++)
        EXPECT_EQ(shininessAccepted(canoeMaterials[i].shininess), i != 2) << "list " << i + 1;
}

} // namespace
