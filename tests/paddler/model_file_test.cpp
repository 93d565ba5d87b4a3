// The model reader: both face layouts, the lists, and every way a damaged file is refused.
#include "paddler/model_file.h"
#include "model_bytes.h"

#include <functional>
#include <random>

namespace {

int loadBytes(Model& model, const Bytes& bytes, const char* name = "model.bin") {
    std::string path = writeTempFile(name, bytes.data);
    BinaryReadFile file(path.c_str());
    return loadModel(model, file);
}

TEST(ModelFile, NewerLayoutReadsEveryListInFileOrder) {
    TModel t = smallModel();
    Model m;
    ASSERT_EQ(loadBytes(m, serialise(t)), 0);
    EXPECT_EQ(m.version, 0x10002u);
    EXPECT_STREQ(m.name, "model");
    ASSERT_EQ(m.clipCount, 1);
    EXPECT_EQ(m.clips[0].framesPerSecond, 30.0f);
    EXPECT_EQ(m.clips[0].frameCount, 30);
    EXPECT_EQ(m.clips[0].attachmentCount, 1);
    ASSERT_EQ(m.rootCount, 1);
    const SkeletonNode& root = m.roots[0];
    EXPECT_EQ(root.id, 1);
    ASSERT_EQ(root.childCount, 2);
    EXPECT_EQ(root.children[0].children[0].id, 3);
    EXPECT_EQ(root.children[1].restMatrix[14], 1.0f);
    ASSERT_EQ(root.trackCount, 1);
    ASSERT_EQ(root.tracks[0].keyCount, 2);
    EXPECT_EQ(root.tracks[0].keys[1].frame, 30);
    EXPECT_FLOAT_EQ(root.tracks[0].keys[1].angleZ, 0.6f);
    EXPECT_EQ(root.tracks[0].secondKeyCount, 1);
    EXPECT_EQ(root.tracks[0].thirdKeyCount, 0);
    ASSERT_EQ(m.faceCount, 1);
    EXPECT_EQ(m.faces[0].unused4, 0x1234);
    EXPECT_EQ(m.faces[0].vertexIndex[2], 2);
    EXPECT_FLOAT_EQ(m.faces[0].cornerUV[5], 0.4f);
    ASSERT_EQ(m.vertexCount, 3);
    EXPECT_EQ(m.vertices[1].position[0], 1.0f);
    EXPECT_EQ(m.vertices[2].bone[0], 3);
    ASSERT_EQ(m.textureCount, 1);
    EXPECT_EQ(m.textures[0].imageId, 5);
    EXPECT_STREQ(m.textures[0].path, "skin.tga");
    EXPECT_EQ(m.labelCount, 1);
    ASSERT_EQ(m.materialCount, 1);
    EXPECT_EQ(m.materials[0].diffuse, 0x80FF4000u);
    EXPECT_EQ(m.materials[0].layers[0].imageId, 5);
    EXPECT_EQ(m.trailerCount, 2);
}

TEST(ModelFile, OlderLayoutHas84ByteFacesAndNoTrailingList) {
    TModel t = smallModel();
    t.version = 0x10001;
    t.faces.push_back(faceOf(0, 2, 1, 0));
    Bytes older = serialise(t);
    t.version = 0x10002;
    t.trailers = 0;
    EXPECT_EQ(serialise(t).data.size() - older.data.size(), 2 * 32 + 4u); // two faces of 116 vs 84, the list
    Model m;
    ASSERT_EQ(loadBytes(m, older), 0);
    ASSERT_EQ(m.faceCount, 2);
    EXPECT_EQ(m.faces[0].unused4, 0xFFFF); // absent in the older layout
    EXPECT_EQ(m.faces[1].vertexIndex[0], 2);
    EXPECT_EQ(m.trailerCount, 0);
    EXPECT_EQ(m.materialCount, 1);
}

TEST(ModelFile, EmptyListsStayAbsent) {
    TModel t = smallModel();
    t.labels = 0;
    t.trailers = 0;
    t.clips.clear();
    for (TNode* n :
         {&t.roots[0], &t.roots[0].children[0], &t.roots[0].children[0].children[0], &t.roots[0].children[1]})
        n->tracks.clear();
    Model m;
    ASSERT_EQ(loadBytes(m, serialise(t)), 0);
    EXPECT_EQ(m.clipCount, 0);
    EXPECT_EQ(m.clips, nullptr);
    EXPECT_EQ(m.labels, nullptr);
    EXPECT_EQ(m.trailers, nullptr);
    EXPECT_EQ(m.roots[0].tracks, nullptr);
    EXPECT_EQ(m.materialCount, 1); // the lists after the empty ones are read
}

TEST(ModelFile, NamesAndPathsWithoutTerminatorAreCutInsideTheirField) {
    TModel t = smallModel();
    t.terminateNames = false;
    Model m;
    ASSERT_EQ(loadBytes(m, serialise(t)), 0);
    EXPECT_EQ(std::strlen(m.name), 63u);
    EXPECT_EQ(std::strlen(m.textures[0].path), 1023u);
}

TEST(ModelFile, FreshModelAndFaceDefaults) {
    Model m;
    EXPECT_EQ(m.version, 0x10002u);
    EXPECT_EQ(m.faceCount, 0);
    MeshFace f;
    EXPECT_EQ(f.materialIndex, -1);
    EXPECT_EQ(f.unused4, 0xFFFF);
    EXPECT_EQ(f.unused6, 0xFFFF);
    EXPECT_EQ(f.vertexIndex[0], 0);
}

TEST(ModelFile, MissingFileIsNotOpenAndLoadsNothing) {
    BinaryReadFile file((testing::TempDir() + "no-such-model").c_str());
    EXPECT_FALSE(file.isOpen());
    BinaryReadFile unnamed("");
    EXPECT_FALSE(unnamed.isOpen());
    Model m;
    EXPECT_EQ(loadModel(m, file), 1);
    EXPECT_EQ(file.write("x", 1), 0u);
}

struct Damage {
    const char* what;
    std::function<void(TModel&)> edit; // applied to the model description
    long cut;                          // > 0: bytes cut off the end instead
};

TEST(ModelFile, DamagedFilesAreRefused) {
    const Damage cases[] = {
        {"version 0x10003", [](TModel& t) { t.version = 0x10003; }, 0},
        {"version far above", [](TModel& t) { t.version = 0xFFFFFFFF; }, 0},
        {"magic first byte", [](TModel& t) { t.magic = "Arg00"; }, 0},
        {"magic last byte", [](TModel& t) { t.magic = "arg01"; }, 0},
        {"short read in the trailing list", nullptr, 1},
        {"short read in a material", nullptr, 80},
        {"short read in the header", nullptr, -60},
        {"material index out of range", [](TModel& t) { t.faces[0].material = 1; }, 0},
        {"negative material index", [](TModel& t) { t.faces[0].material = -1; }, 0},
        {"vertex index out of range", [](TModel& t) { t.faces[0].v[1] = 3; }, 0},
        {"bone id out of range", [](TModel& t) { t.vertices[0].bone[2] = 5; }, 0},
        {"layer names no texture",
         [](TModel& t) {
             t.materials[0].layers = {5, 6};
         },
         0},
        {"node ids out of pre-order", [](TModel& t) { t.roots[0].children[1].id = 3; }, 0},
        {"root id not 1", [](TModel& t) { t.roots[0].id = 0; }, 0},
        {"track of 21 keys",
         [](TModel& t) {
             t.roots[0].tracks[0].clear();
             for (int k = 0; k < 21; ++k)
                 t.roots[0].tracks[0].push_back({k, 0, 0, 0});
         },
         0},
    };
    for (const Damage& d : cases) {
        TModel t = smallModel();
        if (d.edit) d.edit(t);
        Bytes b = serialise(t);
        if (d.cut > 0) b.data.resize(b.data.size() - d.cut);
        if (d.cut < 0) b.data.resize(-d.cut);
        Model m;
        testing::internal::CaptureStdout();
        int result = loadBytes(m, b, "damaged.bin");
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(result, 1) << d.what;
        EXPECT_NE(out.find("damaged.bin"), std::string::npos) << d.what << ": " << out;
    }
}

// Counts that the rest of the file can't hold are refused before anything is allocated.
TEST(ModelFile, ImpossibleCountsAreRefused) {
    TModel t = smallModel();
    Bytes good = serialise(t);
    // Offsets of the counts in this file: the clip list right after the header, the root list after
    // the clip (83 bytes, attachment count, one 324-byte attachment).
    const size_t clipCount = 73, rootCount = 73 + 4 + 83 + 4 + 324;
    for (size_t offset : {clipCount, rootCount}) {
        for (uint32_t bad : {0xFFFFFFFFu, 0x7FFFFFFFu, 100000u}) {
            Bytes b = good;
            for (int k = 0; k < 4; ++k)
                b.data[offset + k] = (bad >> (8 * k)) & 0xFF;
            Model m;
            testing::internal::CaptureStdout();
            EXPECT_EQ(loadBytes(m, b, "counts.bin"), 1) << offset << " " << bad;
            EXPECT_NE(testing::internal::GetCapturedStdout().find("counts.bin"), std::string::npos);
        }
    }
}

TEST(ModelFile, DeepNestingIsRefusedWithoutRecursingForever) {
    TModel t = smallModel();
    Bytes b = serialise(t);
    // Replace the skeleton by a chain of 400 nested nodes, each with one child (ids wrap in a byte).
    Bytes chain;
    chain.u32(1);
    for (int i = 0; i < 400; ++i) {
        chain.field("n", 64);
        chain.u8((i + 1) & 0xFF);
        for (int k = 0; k < 16; ++k)
            chain.f32(0);
        chain.u16(0);
        for (int k = 0; k < 3; ++k)
            chain.f64(0);
        chain.u32(0);
        chain.u32(i + 1 < 400 ? 1 : 0);
    }
    for (int i = 0; i < 400; ++i)
        chain.u32(0);
    Bytes head;
    head.data.assign(b.data.begin(), b.data.begin() + 73 + 4 + 83 + 4 + 324);
    head.data.insert(head.data.end(), chain.data.begin(), chain.data.end());
    head.u32(0); // faces, vertices, textures, labels, materials, trailers
    for (int i = 0; i < 5; ++i)
        head.u32(0);
    Model m;
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadBytes(m, head, "deep.bin"), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("deep.bin"), std::string::npos);
}

TEST(ModelFile, PathEndings) {
    EXPECT_TRUE(pathEndsWith("a.tga", ".tga"));
    EXPECT_FALSE(pathEndsWith("a.TGA", ".tga"));
    EXPECT_FALSE(pathEndsWith("tga", "tga"));
    EXPECT_FALSE(pathEndsWith("", ".bmp"));
    EXPECT_TRUE(pathEndsWith(".bmp", ".bmp"));
}

} // namespace

namespace {

// Random damage of a valid file: every load ends with 0 or 1, never outside its arrays (run under the
// sanitizers to see that).
TEST(ModelFile, RandomlyDamagedFilesLoadOrAreRefused) {
    TModel t = smallModel();
    t.faces.push_back(faceOf(0, 2, 0, 1));
    t.roots[0].pairs = 1;
    Bytes good = serialise(t);
    std::mt19937 random(2024);
    int refused = 0;
    for (int round = 0; round < 600; ++round) {
        Bytes b = good;
        int edits = 1 + round % 4;
        for (int e = 0; e < edits; ++e) {
            size_t at = random() % b.data.size();
            b.data[at] = (unsigned char)(random() % 3 == 0 ? 0xFF : random());
        }
        if (round % 5 == 0) b.data.resize(random() % b.data.size());
        Model m;
        testing::internal::CaptureStdout();
        int result = loadBytes(m, b, "random.bin");
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(result == 0 || result == 1);
        refused += result;
    }
    EXPECT_GT(refused, 100);
}

} // namespace
