// What the paddler's frame hands to the renderer, recorded without a window: the matrix each triangle is
// drawn under, when materials, textures and the alpha test change, and where the paddle is held.
#include "paddler/paddler_frame.h"
#include "paddler/placement.h"
#include "model_bytes.h"

namespace {

struct Drawn {
    Matrix4 matrix;
    bool alphaTest, textured;
    uint32_t texture;
    Vec3 first; // the first corner under the matrix it was drawn with
};
struct Recording {
    Drawn now{}; // what is in force
    int loads = 0;
    std::vector<Drawn> triangles;
    std::vector<size_t> materialAt; // triangles drawn when a material was set
} rec;

const PaddlerRenderer recorder = {
    [](const Matrix4& m) { rec.now.matrix = m, ++rec.loads; },
    [](const TriangleDrawRecord&) { rec.materialAt.push_back(rec.triangles.size()); },
    [](bool on, uint32_t id) { rec.now.textured = on, rec.now.texture = id; },
    [](bool on) { rec.now.alphaTest = on; },
    [](const SkinVertex* const c[3], bool skinned) {
        rec.triangles.push_back(rec.now);
        rec.triangles.back().first = skinned ? c[0]->skinnedPosition : c[0]->restPosition;
        rec.now.matrix.transformPoint(rec.triangles.back().first);
    },
    [] {}};
unsigned int bmpId(const char*) {
    return 7;
}
int tgaId(const char*) {
    return 9;
}

DraftVertex vertex(float x, float y, float z, float w0, int b0, int b1 = 0) {
    return DraftVertex{{x, y, z}, {w0, 1 - w0, 0}, {uint8_t(b0), uint8_t(b1), 0}};
}

class PaddlerFrame : public testing::Test {
  protected:
    Matrix4 placement = translationMatrix(3, -2, -400) * rotationY(35);
    double now = 10;
    // A 42-bone chain whose root turns in clip 1, with faces that exercise every drawing decision.
    void SetUp() override {
        DraftModel d = paddlerShapedModel();
        d.nodes[0].tracks[1] = {{0, 0.3f, 0.2f, 0.1f}, {30, 0.6f, -0.4f, 0.2f}};
        d.nodes[5].tracks[1] = {{0, 0, 0.5f, 0}, {30, 0.4f, 0, 0}};
        d.vertices = {vertex(1, 5, 0, 1, 6),       vertex(0, 6, 1, 1, 6), vertex(1, 6, 0, 1, 6),
                      vertex(0, 6, 2, 0.5f, 6, 7), vertex(1, 7, 0, 1, 7), vertex(0, 7, 1, 1, 7),
                      vertex(1, 7, 1, 1, 7)};
        d.textures = {{"bark", 1, "bark.bmp"}, {"skin", 2, "skin.tga"}};
        d.materials = {{"textured", 0xFF8080FF, 0, 0, 5, {1}},
                       {"alpha-tested", 0xFF80FF80, 0, 0, 5, {2}},
                       {"plain", 0xFFFF8080, 0, 0, 5, {}}};
        d.faces = {faceOf(0, 0, 1, 2),  // rigid on bone 6: the first load
                   faceOf(0, 0, 2, 1),  // the same bone: no load
                   faceOf(0, 0, 1, 3),  // a blended corner: skinned, under the placement
                   faceOf(0, 0, 1, 2),  // rigid after skinned: its bone again, though its flag says keep
                   faceOf(1, 4, 5, 6),  // rigid on bone 7, alpha-tested
                   faceOf(2, 4, 5, 3),  // skinned, plain: alpha test off
                   faceOf(0, 0, 4, 3),  // skinned, with single-bone corners done on the processor
                   faceOf(1, 4, 5, 6)}; // alpha-tested last: the test is switched off after the body
        ASSERT_TRUE(loadDraft(d, loadPaddlerModel));
        preparePaddler(bmpId, tgaId);
        DraftModel p = smallModel();
        p.textures = {{"wood", 5, "wood.bmp"}};
        ASSERT_TRUE(loadDraft(p, loadPaddleModel, "K.pad"));
        preparePaddle(bmpId);
        resetFrameState();
        strokeState = StrokeState();
        startAnimation();
        updateFrame(now);
    }
    void frame() {
        rec = Recording();
        updateFrame(now += 0.3);
        drawPaddlerFrame(placement, recorder);
    }
};

TEST_F(PaddlerFrame, MatricesMaterialsAndAlphaTestPerTriangle) {
    for (int f = 0; f < 2; ++f) {
        frame();
        ASSERT_EQ(rec.triangles.size(), 9u); // the paddle's one, then the body's eight
        const struct {
            int bone; // 0: the placement alone
            bool alphaTest, textured;
        } expect[] = {{6, false, true}, {6, false, true},  {0, false, true}, {6, false, true},
                      {7, true, true},  {0, false, false}, {0, false, true}, {7, true, true}};
        for (int t = 0; t < 8; ++t) {
            const Drawn& body = rec.triangles[t + 1];
            std::string what = "frame " + std::to_string(f) + ", triangle " + std::to_string(t);
            expectNear(body.matrix,
                       placement * (expect[t].bone ? bones[expect[t].bone - 1].skinMatrix : Matrix4()), 1e-12,
                       what);
            EXPECT_TRUE(body.alphaTest == expect[t].alphaTest && body.textured == expect[t].textured) << what;
        }
        EXPECT_TRUE(rec.triangles[1].texture == 7u && rec.triangles[5].texture == 9u);
        // The paddle's material, then the body's at its first triangle of every frame and at each group.
        EXPECT_EQ(rec.materialAt, (std::vector<size_t>{0, 1, 5, 6, 7, 8}));
        EXPECT_EQ(rec.loads, 7); // the paddle's, then one per run of triangles on one matrix
        EXPECT_FALSE(rec.now.alphaTest);
    }
    // Vertex 0 (one bone) in the rigid first triangle and in the skinned third lands in one place, which
    // the bone has moved from where the vertex rests.
    Vec3 atRest(1, 5, 0);
    placement.transformPoint(atRest);
    EXPECT_LT(length(rec.triangles[1].first - rec.triangles[3].first), 1e-9);
    EXPECT_GT(length(rec.triangles[1].first - atRest), 0.5);
}

// In the hand's animated frame the paddle sits at the grip less the hand's rest position (bone b of this
// chain rests b + 1 units up), turned 2 degrees clockwise about its shaft (z), and half round more on side 0.
TEST_F(PaddlerFrame, PaddleFollowsTheHoldingHand) {
    for (int side : {1, 0}) {
        strokeState.paddleSide = side;
        frame();
        expectNear(rec.triangles[0].matrix, placement * paddlePlacement(side, bones), 1e-12, "paddle");
        EXPECT_TRUE(rec.triangles[0].textured && rec.triangles[0].texture == 7u);
        int hand = side == 1 ? PADDLE_BONE_SIDE1 : PADDLE_BONE_SIDE0;
        Matrix4 inHand = invertMatrix(bones[hand].animGlobal) * paddlePlacement(side, bones);
        Matrix4 expected = translationMatrix(side == 1 ? 23.1557 : -22.8511, 41.1324 - (hand + 1), 2.42493) *
                           rotationZ(side == 1 ? -2 : 178);
        expectNear(inHand, expected, 1e-9, "paddle in hand " + std::to_string(side));
    }
}

} // namespace
