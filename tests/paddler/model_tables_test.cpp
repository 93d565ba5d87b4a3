// Loading into the paddler and paddle tables: texture slots and their messages, face records, colours.
#include "paddler/model_tables.h"
#include "paddler/strokes.h"
#include "model_bytes.h"

#include <cmath>

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

// A model that passes the paddler's checks: a chain of 42 bones with 27 one-key clips.
TModel paddlerShaped(int bones = 42, int clips = STROKE_CLIP_COUNT) {
    TModel t = smallModel();
    t.clips.assign(clips, {30.0f, 30});
    std::vector<std::vector<TKey>> tracks(clips, std::vector<TKey>{{0, 0, 0, 0}});
    TNode node{bones, 0, 1, 0, {}, tracks};
    for (int id = bones - 1; id >= 1; --id)
        node = TNode{id, 0, 1, 0, {node}, tracks};
    t.roots = {node};
    return t;
}

bool loadPaddler(const TModel& t, const char* name = "K.man") {
    std::string path = writeTempFile(name, serialise(t).data);
    BinaryReadFile file(path.c_str());
    return loadPaddlerModel(file);
}

TEST(ModelTables, UnpackColourTakesRedFromTheLowestByte) {
    float c[4];
    unpackColour(0x80FF4000u, c); // bytes, lowest first: 0, 64, 255, 128
    EXPECT_FLOAT_EQ(c[0], 0.0f);
    EXPECT_FLOAT_EQ(c[1], 64 / 255.0f);
    EXPECT_FLOAT_EQ(c[2], 1.0f);
    EXPECT_FLOAT_EQ(c[3], 128 / 255.0f);
}

TEST(ModelTables, PaddlerLoadsAndCountsAreCopied) {
    ASSERT_TRUE(loadPaddler(paddlerShaped()));
    EXPECT_EQ(paddler.vertexCount, 3);
    EXPECT_EQ(paddler.faceCount, 1);
    EXPECT_NE(paddler.records, nullptr);
}

TEST(ModelTables, PaddlerRefusals) {
    struct Case {
        const char* what;
        TModel model;
    } cases[] = {
        {"41 bones", paddlerShaped(41)},
        {"26 clips", paddlerShaped(42, 26)},
        {"21 textures",
         [] {
             TModel t = paddlerShaped();
             for (int i = 0; i < 20; ++i)
                 t.textures.push_back({50 + i, "x.bmp"});
             return t;
         }()},
        {"blended vertex on bone 0",
         [] {
             TModel t = paddlerShaped();
             t.vertices[0] = TVertex{{0, 0, 0}, {0.5f, 0.5f, 0}, {0, 2, 0}};
             return t;
         }()},
        {"a bone missing a clip's track",
         [] {
             TModel t = paddlerShaped();
             t.roots[0].children[0].tracks.pop_back();
             return t;
         }()},
        {"key frames going back",
         [] {
             TModel t = paddlerShaped();
             t.roots[0].tracks[4] = {{0, 0, 0, 0}, {10, 0, 0, 0}, {10, 0, 0, 0}};
             return t;
         }()},
        {"key angle not a number",
         [] {
             TModel t = paddlerShaped();
             t.roots[0].children[0].tracks[2][0].y = std::nanf("");
             return t;
         }()},
        {"clip of no frames",
         [] {
             TModel t = paddlerShaped();
             t.clips[3].second = 0;
             return t;
         }()},
        {"clip of zero rate",
         [] {
             TModel t = paddlerShaped();
             t.clips[3].first = 0;
             return t;
         }()},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(loadPaddler(c.model, "K.man")) << c.what;
        EXPECT_NE(testing::internal::GetCapturedStdout().find("K.man"), std::string::npos) << c.what;
        EXPECT_EQ(paddler.faceCount, 0) << c.what;
        EXPECT_EQ(paddler.vertexCount, 0) << c.what;
    }
}

TEST(ModelTables, MoreThan10000BlendedVerticesAreRefused) {
    for (int used : {10001, 10000}) {
        TModel t = paddlerShaped();
        t.vertices.assign(10005, TVertex{{0, 0, 0}, {0.5f, 0.5f, 0}, {1, 2, 0}});
        t.faces.clear();
        for (int i = 0; i + 2 < used; i += 3)
            t.faces.push_back(faceOf(0, i, i + 1, i + 2));
        t.faces.push_back(faceOf(0, used - 2, used - 1, 0)); // only vertices that faces use are bound
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadPaddler(t), used <= BLEND_LIST_CAPACITY) << used;
        std::string out = testing::internal::GetCapturedStdout();
        if (used > BLEND_LIST_CAPACITY) {
            EXPECT_NE(out.find("10000"), std::string::npos);
        }
    }
}

TEST(ModelTables, PaddleWithTwoTexturesIsRefusedAndMissingPaddleStaysEmpty) {
    TModel t = smallModel();
    t.textures.push_back({6, "b.bmp"});
    std::string path = writeTempFile("K.pad", serialise(t).data);
    BinaryReadFile file(path.c_str());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(loadPaddleModel(file));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("K.pad"), std::string::npos);
    EXPECT_EQ(paddle.faceCount, 0);
    EXPECT_EQ(paddle.model.textureCount, 0); // nothing of a refused paddle is kept
    fillPaddleTextureSlots(paddle, fakeBmp);
    EXPECT_EQ(paddle.slots[0].textureId, 0u);
    BinaryReadFile missing("");
    EXPECT_FALSE(loadPaddleModel(missing));
    buildFaceRecords(paddle); // an empty paddle is still prepared without harm
    applyMaterials(paddle, true);
    EXPECT_EQ(paddle.vertexCount, 0);
}

TEST(ModelTables, PaddlerTextureSlotsAndTheirMessages) {
    TModel t = paddlerShaped();
    t.textures = {{1, "a.bmp"}, {2, "bad.tga"}, {3, "c.TGA"}, {4, "d.tga"}, {5, "x"}};
    ASSERT_TRUE(loadPaddler(t));
    loaded.clear();
    testing::internal::CaptureStdout();
    fillPaddlerTextureSlots(paddler, fakeBmp, fakeTga);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "bad tga\n");
    EXPECT_EQ(loaded, (std::vector<std::string>{"a.bmp", "bad.tga", "d.tga"}));
    EXPECT_EQ(paddler.slots[0].textureId, 101u);
    EXPECT_EQ(paddler.slots[0].imageId, 1);
    EXPECT_EQ(paddler.slots[1].textureId, uint32_t(-1));
    EXPECT_EQ(paddler.slots[2].imageId, 0); // ".TGA" is neither ending: slot untouched
    EXPECT_EQ(paddler.slots[3].textureId, 203u);
    EXPECT_EQ(paddler.slots[4].textureId, 0u);
}

TEST(ModelTables, PaddleAcceptsOnlyBmp) {
    for (const char* path : {"wood.TGA", "wood.tga", "wood.bmp"}) {
        TModel t = smallModel();
        t.textures = {{5, path}};
        std::string file = writeTempFile("K.pad", serialise(t).data);
        BinaryReadFile f(file.c_str());
        ASSERT_TRUE(loadPaddleModel(f));
        loaded.clear();
        testing::internal::CaptureStdout();
        fillPaddleTextureSlots(paddle, fakeBmp);
        std::string out = testing::internal::GetCapturedStdout();
        bool bmp = std::string(path) == "wood.bmp";
        EXPECT_EQ(out, bmp ? "" : " can't read the paddle texture\n") << path;
        EXPECT_EQ(paddle.slots[0].textureId, bmp ? 101u : 0u) << path;
    }
}

TEST(ModelTables, FaceRecordsTakeTheLastMatchingLayer) {
    TModel t = paddlerShaped();
    t.textures = {{7, "first.bmp"}, {8, "second.tga"}, {9, "third.bmp"}};
    TMaterial two;
    two.layers = {8, 7}; // the later layer wins, whatever the slot order
    TMaterial none;      // no layers: untextured
    TMaterial tga;
    tga.layers = {8};
    t.materials = {two, none, tga};
    t.faces = {faceOf(0, 0, 1, 2), faceOf(1, 2, 1, 0), faceOf(2, 1, 2, 0)};
    ASSERT_TRUE(loadPaddler(t));
    fillPaddlerTextureSlots(paddler, fakeBmp, fakeTga);
    buildFaceRecords(paddler);
    const TriangleDrawRecord* r = paddler.records;
    EXPECT_EQ(r[0].hasTexture, 1u);
    EXPECT_EQ(r[0].textureId, paddler.slots[0].textureId);
    EXPECT_EQ(r[0].alphaTested, 0u);
    EXPECT_EQ(r[1].hasTexture, 0u);
    EXPECT_EQ(r[2].alphaTested, 1u);
    EXPECT_EQ(r[1].vertex[0], 2u);
    EXPECT_EQ(paddler.skin[1].restPosition.x, 1.0);
    EXPECT_EQ(paddler.skin[1].weighted, 0u);
}

TEST(ModelTables, PaddlerColoursOnlyWhereTheMaterialChanges) {
    TModel t = paddlerShaped();
    TMaterial red, blue;
    red.diffuse = 0xFF0000FF;
    red.ambient = 0xFF000040;
    red.specular = 0xFFFFFFFF;
    red.shininess = 3;
    blue.diffuse = 0xFFFF0000;
    t.materials = {red, blue};
    t.textures.clear();
    t.faces = {faceOf(0, 0, 1, 2), faceOf(0, 0, 1, 2), faceOf(1, 0, 1, 2)};
    ASSERT_TRUE(loadPaddler(t));
    buildFaceRecords(paddler);
    applyMaterials(paddler, false);
    EXPECT_FLOAT_EQ(paddler.records[0].diffuse[0], 1.0f);
    EXPECT_FLOAT_EQ(paddler.records[0].ambient[0], 64 / 255.0f);
    EXPECT_FLOAT_EQ(paddler.records[0].shininess, 3.0f);
    EXPECT_FLOAT_EQ(paddler.records[1].diffuse[0], 0.0f); // same material as the face before
    EXPECT_FLOAT_EQ(paddler.records[2].diffuse[2], 1.0f);
    applyMaterials(paddler, true);
    EXPECT_FLOAT_EQ(paddler.records[1].diffuse[0], 1.0f);
}

} // namespace
