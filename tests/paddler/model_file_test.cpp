// The model reader: both face layouts, the lists, and the rules a damaged file breaks (random damage is
// fuzz/model_fuzz's).
#include "paddler/model_file.h"
#include "model_bytes.h"

#include <cstring>
#include <functional>

namespace {

int loadBytes(Model& model, const Bytes& bytes, const char* name = "model.bin") {
    std::string path = writeTempFile(name, bytes);
    BinaryReadFile file(path.c_str());
    return loadModel(model, file);
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
        ASSERT_EQ(loadBytes(m, *b), 0);
        ASSERT_TRUE(m.clipCount == 1 && m.rootCount == 1);
        EXPECT_EQ(m.clips[0].frameCount, 30);
        EXPECT_EQ(m.clips[0].attachmentCount, b == &newer ? 1 : 0);
        const SkeletonNode& root = m.roots[0];
        ASSERT_EQ(root.childCount, 2);
        EXPECT_EQ(root.children[0].children[0].id, 3);
        EXPECT_EQ(root.children[0].pairCount, b == &newer ? 1 : 0);
        ASSERT_EQ(root.tracks[0].keyCount, 2);
        EXPECT_FLOAT_EQ(root.tracks[0].keys[1].angleZ, 0.6f);
        ASSERT_TRUE(m.faceCount == 2 && m.vertexCount == 3 && m.materialCount == 1);
        EXPECT_TRUE(m.faces[1].vertexIndex[0] == 2 && m.faces[1].cornerUV[5] == 0.4f);
        EXPECT_EQ(m.vertices[2].bone[0], 3);
        EXPECT_STREQ(m.textures[0].path, "skin.tga");
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
    ASSERT_EQ(loadBytes(m, b), 0);
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
    };
    cases.push_back({"clip count", "claims more", nullptr, [](Bytes& b) { putU32(b, 73, 0xFFFFFFFFu); }});
    cases.push_back({"root count", "claims more", nullptr,
                     [](Bytes& b) { putU32(b, offsetOf(b, "node-root") - 4, 100000u); }});
    for (const Damage& c : cases) {
        DraftModel d = smallModel();
        if (c.draft) c.draft(d);
        Bytes b = modelFileBytes(d);
        if (c.bytes) c.bytes(b);
        Model m;
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadBytes(m, b, "damaged.bin"), 1) << c.what;
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("damaged.bin: "), std::string::npos) << c.what << ": " << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.what << ": " << out;
    }
}

} // namespace
