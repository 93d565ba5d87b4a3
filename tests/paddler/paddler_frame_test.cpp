// What the paddler's frame hands to the renderer, recorded without a window: the matrix each triangle is
// drawn under, when materials, textures and the alpha test change, and where the paddle is held.
#include "paddler/paddler_frame.h"
#include "paddler/placement.h"
#include "model_bytes.h"

#include <cmath>

namespace {

struct Drawn {
    Matrix4 matrix;
    bool alphaTest, textured;
    uint32_t texture;
    Vec3 world[3]; // the corners under the matrix they were drawn with
};
struct Recording {
    Matrix4 matrix;
    bool alphaTest = false, textured = false;
    uint32_t texture = 0;
    int loads = 0;
    std::vector<Drawn> triangles;
    std::vector<size_t> materialAt; // number of triangles drawn when a material was set
} rec;

const PaddlerRenderer recorder = {
    [](const Matrix4& m) { rec.matrix = m, ++rec.loads; },
    [](const TriangleDrawRecord&) { rec.materialAt.push_back(rec.triangles.size()); },
    [](bool on, uint32_t id) { rec.textured = on, rec.texture = id; },
    [](bool on) { rec.alphaTest = on; },
    [](const SkinVertex* const c[3], bool skinned) {
        Drawn d{rec.matrix, rec.alphaTest, rec.textured, rec.texture, {}};
        for (int k = 0; k < 3; ++k) {
            d.world[k] = skinned ? c[k]->skinnedPosition : c[k]->restPosition;
            rec.matrix.transformPoint(d.world[k]);
        }
        rec.triangles.push_back(d);
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

// A 42-bone chain whose root turns in clip 1, with faces that exercise every drawing decision.
DraftModel paddlerUnderTest() {
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
               faceOf(0, 0, 4, 3)}; // skinned, with single-bone corners done on the processor
    return d;
}

class PaddlerFrame : public testing::Test {
  protected:
    Matrix4 placement = translationMatrix(3, -2, -400) * rotationY(35);
    void SetUp() override {
        ASSERT_TRUE(loadDraft(paddlerUnderTest(), loadPaddlerModel));
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
    double now = 10;
    void frame() {
        rec = Recording();
        updateFrame(now += 0.3);
        drawPaddlerFrame(placement, recorder);
    }
    Matrix4 underBone(int id) { return placement * bones[id - 1].skinMatrix; }
};

void expectSame(const Matrix4& a, const Matrix4& b, const std::string& what, double tolerance = 1e-12) {
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(a.m[k], b.m[k], tolerance) << what << " element " << k;
}

TEST_F(PaddlerFrame, MatricesMaterialsAndAlphaTestPerTriangle) {
    for (int f = 0; f < 2; ++f) {
        frame();
        ASSERT_EQ(rec.triangles.size(), 8u); // the paddle's one, then the body's seven
        const std::vector<Drawn> body(rec.triangles.begin() + 1, rec.triangles.end());
        struct Expect {
            int bone; // 0: the placement alone
            bool alphaTest, textured;
        } expect[] = {{6, false, true}, {6, false, true},  {0, false, true}, {6, false, true},
                      {7, true, true},  {0, false, false}, {0, false, true}};
        for (int t = 0; t < 7; ++t) {
            std::string what = "frame " + std::to_string(f) + ", triangle " + std::to_string(t);
            expectSame(body[t].matrix, expect[t].bone ? underBone(expect[t].bone) : placement, what);
            EXPECT_EQ(body[t].alphaTest, expect[t].alphaTest) << what;
            EXPECT_EQ(body[t].textured, expect[t].textured) << what;
        }
        EXPECT_EQ(body[0].texture, 7u);
        EXPECT_EQ(body[4].texture, 9u);
        // The paddle's material, then the body's at its first triangle of every frame and at each group.
        EXPECT_EQ(rec.materialAt, (std::vector<size_t>{0, 1, 5, 6, 7}));
        EXPECT_EQ(rec.loads, 6); // the paddle's, then one per run of triangles on one matrix
        EXPECT_FALSE(rec.alphaTest);
    }
    // Vertex 0 (one bone) in the rigid first triangle and in the skinned third lands in one place.
    const Drawn& rigid = rec.triangles[1];
    const Drawn& skinned = rec.triangles[3];
    for (double Vec3::*c : {&Vec3::x, &Vec3::y, &Vec3::z})
        EXPECT_NEAR(rigid.world[0].*c, skinned.world[0].*c, 1e-9);
    Vec3 atRest(1, 5, 0);
    placement.transformPoint(atRest);
    EXPECT_GT(std::fabs(rigid.world[0].x - atRest.x) + std::fabs(rigid.world[0].y - atRest.y) +
                  std::fabs(rigid.world[0].z - atRest.z),
              0.5)
        << "the bone has moved it";
}

TEST_F(PaddlerFrame, PaddleFollowsTheHoldingHand) {
    // In the hand's animated frame the paddle sits at the grip less the hand's rest position (bone b of
    // this chain rests b + 1 units up), turned 2 degrees clockwise about its shaft (z), and half round
    // more on side 0.
    for (int side : {1, 0}) {
        strokeState.paddleSide = side;
        frame();
        expectSame(rec.triangles[0].matrix, placement * paddlePlacement(side, bones), "paddle");
        EXPECT_TRUE(rec.triangles[0].textured && rec.triangles[0].texture == 7u);
        int hand = side == 1 ? PADDLE_BONE_SIDE1 : PADDLE_BONE_SIDE0;
        Matrix4 inHand = invertMatrix(bones[hand].animGlobal) * paddlePlacement(side, bones);
        Matrix4 expected = translationMatrix(side == 1 ? 23.1557 : -22.8511, 41.1324 - (hand + 1), 2.42493) *
                           rotationZ(side == 1 ? -2 : 178);
        expectSame(inHand, expected, "paddle in hand " + std::to_string(side), 1e-9);
    }
}

} // namespace
