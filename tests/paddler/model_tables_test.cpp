// Loading into the paddler and paddle tables: texture slots and their messages, face records, colours.
#include "paddler/model_tables.h"
#include "paddler/strokes.h"
#include "model_bytes.h"

#include <cmath>
#include <functional>

namespace {

std::vector<std::string> loaded; // paths handed to the stand-in loaders
unsigned int fakeBmp(const char* path) {
    loaded.push_back(path);
    return 100 + unsigned(loaded.size());
}
int fakeTga(const char* path) {
    loaded.push_back(path);
    return std::string(path) == "bad.tga" ? -1 : 200 + int(loaded.size());
}

bool load(const DraftModel& d, bool isPaddler = true, const char* name = "K.man") {
    std::string path = writeTempFile(name, modelFileBytes(d));
    BinaryReadFile file(path.c_str());
    loaded.clear();
    return isPaddler ? loadPaddlerModel(file) : loadPaddleModel(file);
}

// 'used' of 10005 blended vertices are used by faces (only those are bound).
DraftModel blendedVertices(int used) {
    DraftModel d = paddlerShapedModel();
    d.vertices.assign(10005, blended(0.5f, 0.5f, 0, 1, 2, 0));
    d.faces.clear();
    for (int i = 0; i + 2 < used; i += 3)
        d.faces.push_back(faceOf(0, i, i + 1, i + 2));
    d.faces.push_back(faceOf(0, used - 2, used - 1, 0));
    return d;
}

TEST(ModelTables, PaddlerRefusals) {
    auto edited = [](std::function<void(DraftModel&)> edit) {
        DraftModel d = paddlerShapedModel();
        edit(d);
        return d;
    };
    auto frames = [](DraftModel& d) { d.nodes[0].tracks[4] = {{0, 0, 0, 0}, {10, 0, 0, 0}, {10, 0, 0, 0}}; };
    struct Case {
        const char* what;
        DraftModel model;
        const char* message; // nullptr: accepted
    } cases[] = {
        {"41 bones", paddlerShapedModel(41), "41 bones"},
        {"26 clips", paddlerShapedModel(42, 26), "26 clips"},
        {"21 textures", edited([](DraftModel& d) { d.textures.resize(21, d.textures[0]); }), "21 textures"},
        {"bone 0", edited([](DraftModel& d) { d.vertices[0] = blended(0.5f, 0.5f, 0, 0, 2, 0); }), "bone 0"},
        {"a missing track", edited([](DraftModel& d) { d.nodes[1].tracks.pop_back(); }), "key tracks"},
        {"key frames back", edited(frames), "do not rise"},
        {"key angle NaN", edited([](DraftModel& d) { d.nodes[1].tracks[2][0].y = std::nanf(""); }), "number"},
        {"clip of no frames", edited([](DraftModel& d) { d.clips[3].frameCount = 0; }), "no length"},
        {"clip of zero rate", edited([](DraftModel& d) { d.clips[3].framesPerSecond = 0; }), "no length"},
        {"10001 blended", blendedVertices(10001), "more than 10000 blended"},
        {"10000 blended", blendedVertices(10000), nullptr},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(load(c.model), !c.message) << c.what;
        std::string out = testing::internal::GetCapturedStdout();
        if (!c.message) continue;
        EXPECT_NE(out.find(std::string("K.man: ")), std::string::npos) << c.what;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.what << ": " << out;
        EXPECT_EQ(paddler.faceCount + paddler.vertexCount, 0) << c.what;
    }
}

TEST(ModelTables, PaddlerTextureSlotsAndTheirMessages) {
    DraftModel d = paddlerShapedModel();
    d.textures = {
        {"a", 1, "a.bmp"}, {"b", 2, "bad.tga"}, {"c", 3, "c.TGA"}, {"d", 4, "d.tga"}, {"e", 5, "x"}};
    ASSERT_TRUE(load(d));
    testing::internal::CaptureStdout();
    fillPaddlerTextureSlots(paddler, fakeBmp, fakeTga);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "bad tga\n");
    EXPECT_EQ(loaded, (std::vector<std::string>{"a.bmp", "bad.tga", "d.tga"}));
    EXPECT_TRUE(paddler.slots[0].textureId == 101u && paddler.slots[0].imageId == 1);
    EXPECT_EQ(paddler.slots[1].textureId, uint32_t(-1));
    EXPECT_EQ(paddler.slots[2].imageId, 0); // ".TGA" is neither ending: slot untouched
    EXPECT_TRUE(paddler.slots[3].textureId == 203u && paddler.slots[4].textureId == 0u);
}

TEST(ModelTables, PaddleTakesOneBmpTextureOrStaysEmpty) {
    for (const char* path : {"wood.TGA", "wood.tga", "wood.bmp"}) {
        DraftModel d = smallModel();
        d.textures = {{"wood", 5, path}};
        ASSERT_TRUE(load(d, false, "K.pad"));
        testing::internal::CaptureStdout();
        fillPaddleTextureSlots(paddle, fakeBmp);
        bool bmp = std::string(path) == "wood.bmp";
        EXPECT_EQ(testing::internal::GetCapturedStdout(), bmp ? "" : " can't read the paddle texture\n")
            << path;
        EXPECT_EQ(paddle.slots[0].textureId, bmp ? 101u : 0u) << path;
    }
    // Two textures: refused, and nothing of it is kept.
    DraftModel d = smallModel();
    d.textures.push_back({"b", 6, "b.bmp"});
    testing::internal::CaptureStdout();
    EXPECT_FALSE(load(d, false, "K.pad"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("K.pad: "), std::string::npos);
    EXPECT_TRUE(paddle.faceCount == 0 && paddle.model.textureCount == 0);
    fillPaddleTextureSlots(paddle, fakeBmp);
    EXPECT_EQ(paddle.slots[0].textureId, 0u);
}

TEST(ModelTables, FaceRecordsTakeTheLastMatchingLayerAndColoursWhereTheMaterialChanges) {
    DraftModel d = paddlerShapedModel();
    d.textures = {{"1", 7, "first.bmp"}, {"2", 8, "second.tga"}, {"3", 9, "third.bmp"}};
    // The later layer wins, whatever the slot order; a layer naming an image no texture has: untextured.
    d.materials = {{"two", 0xFF0000FF, 0xFF000040, 0xFFFFFFFF, 3, {8, 7}},
                   {"none", 0xFFFF0000, 0, 0, 0, {6}},
                   {"tga", 0, 0, 0, 0, {8}}};
    d.faces = {faceOf(0, 0, 1, 2), faceOf(0, 2, 1, 0), faceOf(1, 1, 2, 0), faceOf(2, 0, 1, 2)};
    ASSERT_TRUE(load(d));
    fillPaddlerTextureSlots(paddler, fakeBmp, fakeTga);
    buildFaceRecords(paddler);
    const TriangleDrawRecord* r = paddler.records;
    EXPECT_TRUE(r[0].hasTexture == 1u && r[0].textureId == paddler.slots[0].textureId && !r[0].alphaTested);
    EXPECT_TRUE(r[2].hasTexture == 0u && r[3].alphaTested == 1u && r[1].vertex[0] == 2u);
    EXPECT_TRUE(paddler.skin[1].restPosition.x == 1.0 && paddler.skin[1].weighted == 0u);
    applyMaterials(paddler, false);
    // Red from the lowest byte, alpha from the highest.
    EXPECT_TRUE(r[0].diffuse[0] == 1.0f && r[0].diffuse[3] == 1.0f && r[0].shininess == 3.0f);
    EXPECT_FLOAT_EQ(r[0].ambient[0], 64 / 255.0f);
    EXPECT_FLOAT_EQ(r[1].diffuse[0], 0.0f); // same material as the face before
    EXPECT_FLOAT_EQ(r[2].diffuse[2], 1.0f);
    applyMaterials(paddler, true);
    EXPECT_FLOAT_EQ(r[1].diffuse[0], 1.0f);
}

} // namespace
