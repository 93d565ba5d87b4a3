// Loading models: the reader (both face layouts, every list, what a damaged file breaks; random damage is
// fuzz/model_fuzz's), and the paddler's and paddle's tables (refusals, texture slots, face records).
#include "paddler/model_file.h"
#include "paddler/model_tables.h"
#include "paddler/strokes.h"
#include "model_bytes.h"

#include <cmath>
#include <cstring>
#include <functional>

namespace {

// Where 'text' first stands in the file (the drafts' names are unique).
size_t offsetOf(const Bytes& b, const std::string& text) {
    size_t at = std::search(b.begin(), b.end(), text.begin(), text.end()) - b.begin();
    EXPECT_LT(at, b.size()) << text;
    return at;
}
void putU32(Bytes& b, size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k)
        b[at + k] = (v >> (8 * k)) & 0xFF;
}
// Gives the list whose count stands at 'at' 'count' zeroed elements of 'size' bytes.
void fillList(Bytes& b, size_t at, uint32_t count, size_t size) {
    putU32(b, at, count);
    b.insert(b.begin() + at + 4, count * size, 0);
}

TEST(ModelFile, BothLayoutsReadEveryList) {
    DraftModel d = smallModel();
    d.faces.push_back(faceOf(0, 2, 1, 0));
    Bytes newer = modelFileBytes(d);
    d.version = 0x10001;
    Bytes older = modelFileBytes(d);
    EXPECT_EQ(newer.size() - older.size(), 2 * 32 + 4u); // two faces of 116 vs 84, the trailing list
    // The lists the generator leaves empty: two trailers, a label, a node pair, a clip attachment.
    fillList(newer, newer.size() - 4, 2, 66);
    fillList(newer, offsetOf(newer, "material") - 8, 1, 70); // the label count, then the material count
    fillList(newer, offsetOf(newer, "node-A") + 155, 1, 128);
    fillList(newer, offsetOf(newer, "clip") + 83, 1, 324);
    for (const Bytes* b : {&newer, &older}) {
        Model m;
        ASSERT_EQ(loadBytes(*b, into(m)), 0);
        ASSERT_TRUE(m.clipCount == 1 && m.rootCount == 1);
        EXPECT_TRUE(m.clips[0].frameCount == 30 && m.clips[0].attachmentCount == (b == &newer ? 1 : 0));
        const SkeletonNode& root = m.roots[0];
        ASSERT_EQ(root.childCount, 2);
        EXPECT_TRUE(root.children[0].children[0].id == 3 &&
                    root.children[0].pairCount == (b == &newer ? 1 : 0));
        ASSERT_EQ(root.tracks[0].keyCount, 2);
        EXPECT_FLOAT_EQ(root.tracks[0].keys[1].angleZ, 0.6f);
        ASSERT_TRUE(m.faceCount == 2 && m.vertexCount == 3 && m.materialCount == 1);
        EXPECT_TRUE(m.faces[1].vertexIndex[0] == 2 && m.faces[1].cornerUV[5] == 0.4f);
        EXPECT_TRUE(m.vertices[2].bone[0] == 3 && std::string(m.textures[0].path) == "skin.tga");
        EXPECT_TRUE(m.materials[0].diffuse == 0x80FF4000u && m.materials[0].layers[0].imageId == 5);
        EXPECT_EQ(m.labelCount + m.trailerCount, b == &newer ? 3 : 0);
    }
}

TEST(ModelFile, EmptyListsStayAbsentAndUnterminatedTextIsCut) {
    DraftModel d = smallModel();
    d.clips.clear();
    for (DraftNode& n : d.nodes)
        n.tracks.clear();
    Bytes b = modelFileBytes(d);
    std::fill_n(b.begin() + 9, 64, 'x'); // the model's name
    std::fill_n(b.begin() + offsetOf(b, "skin.tga"), 1024, 'x');
    Model m;
    ASSERT_EQ(loadBytes(b, into(m)), 0);
    EXPECT_TRUE(m.clipCount == 0 && m.clips == nullptr && m.roots[0].tracks == nullptr);
    EXPECT_EQ(m.materialCount, 1); // the lists after the empty ones are read
    EXPECT_TRUE(std::strlen(m.name) == 63u && std::strlen(m.textures[0].path) == 1023u);
}

struct Damage {
    std::string what, message;
    std::function<void(DraftModel&)> draft;
    std::function<void(Bytes&)> bytes;
};

TEST(ModelFile, DamagedFilesAreRefusedNamingTheFile) {
    auto set = [](size_t at, unsigned char v) { return [=](Bytes& b) { b[at] = v; }; };
    auto setId = [](const char* node, unsigned char id) {
        return [=](Bytes& b) { b[offsetOf(b, node) + 64] = id; };
    };
    auto cutTo = [](long size) { return [=](Bytes& b) { b.resize(size < 0 ? b.size() + size : size); }; };
    std::vector<Damage> cases = {
        {"version 0x10003", "unknown version", nullptr, [](Bytes& b) { putU32(b, 0, 0x10003); }},
        {"magic first byte", "not a model file", nullptr, set(4, 'A')},
        {"short trailing list", "ends early", nullptr, cutTo(-1)},
        {"short header", "ends early", nullptr, cutTo(60)},
        {"material index", "material index", [](DraftModel& d) { d.faces[0].material = 1; }, nullptr},
        {"vertex index", "vertex index", [](DraftModel& d) { d.faces[0].vertex[1] = 3; }, nullptr},
        {"bone id", "bone id", [](DraftModel& d) { d.vertices[0].bone[2] = 5; }, nullptr},
        {"ids out of pre-order", "pre-order", nullptr, setId("node-B", 3)},
        {"ids that skip one", "pre-order", nullptr, setId("node-B", 5)},
        {"21 keys", "more than 20 keys", [](DraftModel& d) { d.nodes[0].tracks[0].resize(21); }, nullptr},
        {"deep nesting", "nested too deeply", [](DraftModel& d) { setChain(d, 400, 0); }, nullptr},
        {"clip count", "claims more", nullptr, [](Bytes& b) { putU32(b, 73, 0xFFFFFFFFu); }},
        {"root count", "claims more", nullptr,
         [](Bytes& b) { putU32(b, offsetOf(b, "node-root") - 4, 100000u); }}};
    for (const Damage& c : cases) {
        DraftModel d = smallModel();
        if (c.draft) c.draft(d);
        Bytes b = modelFileBytes(d);
        if (c.bytes) c.bytes(b);
        Model m;
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadBytes(b, into(m), "damaged.bin"), 1) << c.what;
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("damaged.bin: "), std::string::npos) << c.what << ": " << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.what << ": " << out;
    }
}

std::vector<std::string> loaded; // paths handed to the stand-in loaders
unsigned int fakeBmp(const char* path) {
    loaded.push_back(path);
    return 100 + unsigned(loaded.size());
}
int fakeTga(const char* path) {
    loaded.push_back(path);
    return std::string(path) == "bad.tga" ? -1 : 200 + int(loaded.size());
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
        {"10000 blended", blendedVertices(10000), nullptr}};
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadDraft(c.model, loadPaddlerModel), !c.message) << c.what;
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
    ASSERT_TRUE(loadDraft(d, loadPaddlerModel));
    testing::internal::CaptureStdout();
    loaded.clear();
    fillPaddlerTextureSlots(paddler, fakeBmp, fakeTga);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "bad tga\n");
    EXPECT_EQ(loaded, (std::vector<std::string>{"a.bmp", "bad.tga", "d.tga"}));
    // ".TGA" is neither ending: its slot stays untouched.
    const TextureSlot* slot = paddler.slots;
    EXPECT_TRUE(slot[0].textureId == 101u && slot[0].imageId == 1 && slot[1].textureId == uint32_t(-1));
    EXPECT_TRUE(slot[2].imageId == 0 && slot[3].textureId == 203u && slot[4].textureId == 0u);
}

TEST(ModelTables, PaddleTakesOneBmpTextureOrStaysEmpty) {
    for (const char* path : {"wood.TGA", "wood.tga", "wood.bmp"}) {
        DraftModel d = smallModel();
        d.textures = {{"wood", 5, path}};
        ASSERT_TRUE(loadDraft(d, loadPaddleModel, "K.pad"));
        testing::internal::CaptureStdout();
        loaded.clear();
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
    EXPECT_FALSE(loadDraft(d, loadPaddleModel, "K.pad"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("K.pad: "), std::string::npos);
    fillPaddleTextureSlots(paddle, fakeBmp);
    EXPECT_TRUE(paddle.faceCount == 0 && paddle.model.textureCount == 0 && paddle.slots[0].textureId == 0u);
}

TEST(ModelTables, FaceRecordsTakeTheLastMatchingLayerAndColoursWhereTheMaterialChanges) {
    DraftModel d = paddlerShapedModel();
    d.textures = {{"1", 7, "first.bmp"}, {"2", 8, "second.tga"}, {"3", 9, "third.bmp"}};
    // The later layer wins, whatever the slot order; a layer naming an image no texture has: untextured.
    d.materials = {{"two", 0xFF0000FF, 0xFF000040, 0xFFFFFFFF, 3, {8, 7}},
                   {"none", 0xFFFF0000, 0, 0, 0, {6}},
                   {"tga", 0, 0, 0, 0, {8}}};
    d.faces = {faceOf(0, 0, 1, 2), faceOf(0, 2, 1, 0), faceOf(1, 1, 2, 0), faceOf(2, 0, 1, 2)};
    ASSERT_TRUE(loadDraft(d, loadPaddlerModel));
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
    EXPECT_TRUE(r[1].diffuse[0] == 0 && r[2].diffuse[2] == 1) << "the colours set where the material changes";
    applyMaterials(paddler, true);
    EXPECT_FLOAT_EQ(r[1].diffuse[0], 1.0f);
}

} // namespace
