// The generated "K.man" and "K.pad" of the run folder, through the loader and the keyframe runtime:
// the paddle mapped into canoe space by the seat and every rocking sample, the blade's depth, its
// clearance of the hull and its push on it, the hands on the paddle, the joins between clips and the
// body's pose. CANOE_PADDLER_FIGURES=1 prints the measured figures per clip.
#include "assets/canoe_hull.h"
#include "canoe/rocking.h"
#include "canoe/stroke_samples.h"
#include "paddler/animation.h"
#include "paddler/model_tables.h"
#include "paddler/placement.h"
#include "paddler/skeleton.h"
#include "paddler/skinning.h"
#include "paddler/strokes.h"
#include "scene/clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

const double WATER = -5;
double clock = 0;
double now() {
    return clock;
}
void noMove(int) {}
void keepClip() {}

// The blade in paddle space: a grid over its plate (throat at z = -8, tip at z = -28).
const int BLADE_POINTS = 5 * 11;
Vec3 bladePoint(int i) {
    double z = -28 + 2.0 * (i / 5), half = z < -25   ? 1.6 + (z + 28) * 0.6
                                           : z > -12 ? 3.4 - (z + 12) * 0.6
                                                     : 3.4;
    return Vec3(half * ((i % 5) - 2) / 2.0, 0, z);
}

// What the stroke machine does with a clip: its hand, the fractions of its power phase and of its
// time in the air, and the sign of the turn it makes (0 for none).
struct ClipRole {
    int clip, side;
    double powerFrom, powerTo, airFrom, airTo;
    int turn;
};
const ClipRole ROLES[] = {
    {0, 1, 0.15, 0.55, 0.7, 0.9, 0},  {4, 1, 0.45, 0.85, 0.1, 0.3, 0}, {3, 1, 0.3, 0.75, -1, -1, 1},
    {8, 1, 0, 1, -1, -1, -1},         {1, 1, -1, -1, 0, 1, 0},         {6, 0, 0.15, 0.55, 0.7, 0.9, 0},
    {10, 0, 0.45, 0.85, 0.1, 0.3, 0}, {14, 0, 0.3, 0.75, -1, -1, -1},  {12, 0, 0, 1, -1, -1, 1},
    {5, 0, -1, -1, 0, 1, 0},
};

struct Figures {
    double minUnder = 1, minAirClearance = 1e9, maxHullDepth = 0, moment = 0;
    double maxOffShaft = 0, maxGripGap = 0;
    double maxFlexion = 0, maxSwing = 0, maxTwist = 0; // degrees, the worse wrist of the two
};

class GeneratedPaddler : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        BinaryReadFile file((std::string(CANOE_RUN_DIR) + "/K.man").c_str());
        ASSERT_TRUE(file.isOpen()) << "no generated run folder at " << CANOE_RUN_DIR;
        ASSERT_TRUE(loadPaddlerModel(file));
        setupSkeleton(&paddler.model.roots[0]);
        buildFaceRecords(paddler);
        weightPaddlerSkin(paddler, blendList);
        markFaceBindings(paddler);
        std::ifstream samples(std::string(CANOE_RUN_DIR) + "/fstroke.stroke");
        ASSERT_TRUE(readStrokeFile(samples));
        initRocking();
    }
    void SetUp() override {
        paddlerClips = paddler.model.clips;
        paddlerClipCount = paddler.model.clipCount;
        animationHooks = AnimationHooks{now, noMove, keepClip};
    }
    void TearDown() override { animationHooks = AnimationHooks{wallClockSeconds, moveCanoe, chooseNextClip}; }

    // Starts 'clip'; step() then plays it on in frames of 1/100 s (the key index moves at most one key a
    // frame) and returns the fraction played.
    void start(int clip) {
        strokeState = StrokeState();
        strokeState.currentClip = strokeState.requestedClip = clip;
        clipClock = ClipClock();
        for (int i = 0; i < boneCount; ++i)
            bones[i].clipState = -1;
        startAnimation();
        clock = 1000;
        poseSkeleton();
    }
    double step() {
        clock += 0.01;
        poseSkeleton();
        return (clock - 1000) / clipClock.clipDuration;
    }
    void poseAt(int clip, double fraction) {
        start(clip);
        while ((clock - 1000) / clipClock.clipDuration < fraction - 1e-9)
            step();
    }
    static Vec3 inCanoe(const Matrix4& m, Vec3 p) {
        m.transformPoint(p);
        return p;
    }
    static Matrix4 paddleInCanoe(int side, int rock) {
        return rockingMatrix(rock) * paddlerSeatMatrix() * paddlePlacement(side, bones);
    }
    static Vec3 joint(int bone, const Matrix4& toCanoe) {
        const Matrix4& g = bones[bone].animGlobal;
        return inCanoe(toCanoe, Vec3(g.m[12], g.m[13], g.m[14]));
    }
    Figures measure(const ClipRole& r);
};

// A paddler vertex where this frame's bones put it.
Vec3 skinned(const SkinVertex& s) {
    Vec3 p;
    for (uint32_t j = 0; j < std::max<uint32_t>(1, s.bindingType); ++j) {
        Vec3 q = s.restPosition;
        bones[s.boneId[j] - 1].skinMatrix.transformPoint(q);
        p = p + q * (s.bindingType > 1 ? s.boneWeight[j] : 1.0);
    }
    return p;
}

// How deep a canoe-space point lies inside the hull's outer skin (0 outside it).
double hullDepth(const Vec3& p) {
    double u = hullStationAt(p.z);
    if (u <= -0.98 || u >= 0.98 || p.y >= hullSheer(u) || p.y <= hullKeel(u)) return 0;
    double skin = hullPoint(u, hullHeightAtY(u, p.y), 1).x - HULL_X;
    return std::fmax(0, skin - std::fabs(p.x - HULL_X));
}

// Angle of the rotation between two bones' frames, in degrees.
double bendDegrees(int from, int to) {
    Matrix4 r = invertMatrix(bones[from].animGlobal) * bones[to].animGlobal;
    double c = (r.at(0, 0) + r.at(1, 1) + r.at(2, 2) - 1) / 2;
    return std::acos(std::fmax(-1.0, std::fmin(1.0, c))) / DEGREES_TO_RADIANS;
}

Vec3 restJoint(int bone) {
    const Matrix4& g = bones[bone].restGlobal;
    return Vec3(g.m[12], g.m[13], g.m[14]);
}

// The wrist of the arm whose hand is bone 'hand' (forearm hand - 3, roll hand - 2, the wrist and fist
// hand - 1): the fist's neutral axis runs from the wrist joint straight across the shaft (the hand's z
// through the hand joint, the thumb's side); the forearm's axis, seen from the fist, swings off it by
// flexion (about z) and deviation. The roll bone carries the forearm's twist.
void wristAngles(int hand, double& flexion, double& swing, double& twist) {
    Vec3 d = restJoint(hand) + restJoint(hand - 1) * -1, a = restJoint(hand - 1) + restJoint(hand - 3) * -1;
    d = Vec3(d.x, d.y, 0) * (1 / std::hypot(d.x, d.y));
    a = a * (1 / std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z));
    Matrix4 r = invertMatrix(bones[hand - 1].animGlobal) * bones[hand - 2].animGlobal;
    r.transformDirection(a);
    Vec3 n(d.y, -d.x, 0); // d x z
    double along = a.x * d.x + a.y * d.y + a.z * d.z;
    flexion = std::fabs(std::atan2(a.x * n.x + a.y * n.y, along)) / DEGREES_TO_RADIANS;
    swing = std::acos(std::fmax(-1.0, std::fmin(1.0, along))) / DEGREES_TO_RADIANS;
    twist = bendDegrees(hand - 3, hand - 2);
}

Figures GeneratedPaddler::measure(const ClipRole& r) {
    Figures f;
    int n = strokeSamples.sampleCount;
    Vec3 last[BLADE_POINTS];
    start(r.clip);
    for (double at = 0; at < 0.9999; at = step()) {
        Matrix4 level = paddleInCanoe(r.side, -1);
        bool power = at >= r.powerFrom && at <= r.powerTo, air = at >= r.airFrom && at <= r.airTo;
        for (int k = 0; k < n; ++k) {
            Matrix4 m = paddleInCanoe(r.side, k);
            int under = 0;
            for (int i = 0; i < BLADE_POINTS; ++i) {
                Vec3 p = inCanoe(m, bladePoint(i));
                under += p.y < WATER;
                if (air) f.minAirClearance = std::fmin(f.minAirClearance, p.y - WATER);
            }
            if (power) f.minUnder = std::fmin(f.minUnder, double(under) / BLADE_POINTS);
        }
        // The water's drag on the face of the blade, on its wet part, handed on to the hull as a turn
        // about midships (positive turns the bow toward +x).
        Vec3 normal = inCanoe(level, Vec3(0, 1, 0)) + inCanoe(level, Vec3()) * -1;
        for (int i = 0; i < BLADE_POINTS; ++i) {
            // The rocking turns the hull with the paddler, so the level pose shows every contact.
            Vec3 p = inCanoe(level, bladePoint(i));
            f.maxHullDepth = std::fmax(f.maxHullDepth, hullDepth(p));
            if (power && at > 0 && p.y < WATER) {
                Vec3 v = p + last[i] * -1;
                double push = -(v.x * normal.x + v.y * normal.y + v.z * normal.z);
                f.moment += (p.z - HULL_Z_MID) * normal.x * push - (p.x - HULL_X) * normal.z * push;
            }
            last[i] = p;
        }
        // The free hand on the shaft, and on the grip where it is the top hand.
        Matrix4 inverse = invertMatrix(paddlePlacement(r.side, bones));
        const Matrix4& hand = bones[r.side == 1 ? PADDLE_BONE_SIDE0 : PADDLE_BONE_SIDE1].animGlobal;
        Vec3 other = inCanoe(inverse, Vec3(hand.m[12], hand.m[13], hand.m[14]));
        f.maxOffShaft = std::fmax(f.maxOffShaft, std::hypot(other.x, other.y));
        f.maxGripGap = std::fmax(f.maxGripGap, std::fabs(other.z - 19.8));
        for (int h : {22, 41}) {
            double flexion, swing, twist;
            wristAngles(h, flexion, swing, twist);
            f.maxFlexion = std::fmax(f.maxFlexion, flexion);
            f.maxSwing = std::fmax(f.maxSwing, swing);
            f.maxTwist = std::fmax(f.maxTwist, twist);
        }
    }
    return f;
}

bool printFigures() {
    const char* e = std::getenv("CANOE_PADDLER_FIGURES");
    return e && e[0] == '1';
}

TEST_F(GeneratedPaddler, ModelsFitTheScene) {
    EXPECT_EQ(boneCount, 54);
    EXPECT_EQ(paddlerClipCount, 27);
    if (printFigures()) std::printf("vertices %d, blended %d\n", paddler.vertexCount, blendList.count);
    poseAt(1, 0);
    const double left[3] = {23.1557, 41.1324, 2.42493}, right[3] = {-22.8511, 41.1324, 2.42493};
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(bones[41].restGlobal.m[12 + k], left[k], 1e-4);
        EXPECT_NEAR(bones[22].restGlobal.m[12 + k], right[k], 1e-4);
    }
    BinaryReadFile file((std::string(CANOE_RUN_DIR) + "/K.pad").c_str());
    ASSERT_TRUE(loadPaddleModel(file));
    buildFaceRecords(paddle);
    testing::internal::CaptureStdout();
    weightPaddleSkin(paddle);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(paddle.model.textureCount, 1);
    EXPECT_TRUE(pathEndsWith(paddle.model.textures[0].path, ".bmp"));
}

// Every stroke and hold in the water through its power phase, out of it in the air, clear of the hull,
// turning the canoe the way its clip turns it, with both hands on the paddle and the top hand on the
// grip, the wrists within their swing and the forearms within their twist (the changes of hands hold
// the blade up and the thumbs down: their twist is printed, not bounded).
TEST_F(GeneratedPaddler, StrokesWorkTheWater) {
    for (const ClipRole& r : ROLES) {
        Figures f = measure(r);
        if (printFigures())
            std::printf("clip %2d: under %3.0f%%  air clearance %6.2f  in hull %5.2f  turn %+9.2f  "
                        "off shaft %4.2f  grip gap %5.2f  wrist flexion %5.1f swing %5.1f twist %5.1f\n",
                        r.clip, 100 * f.minUnder, f.minAirClearance, f.maxHullDepth, f.moment, f.maxOffShaft,
                        f.maxGripGap, f.maxFlexion, f.maxSwing, f.maxTwist);
        if (r.powerFrom >= 0) {
            EXPECT_GE(f.minUnder, 0.4) << "clip " << r.clip;
        }
        if (r.airFrom >= 0) {
            EXPECT_GE(f.minAirClearance, 2.0) << "clip " << r.clip;
        }
        EXPECT_LT(f.maxHullDepth, 0.01) << "clip " << r.clip;
        if (r.turn != 0) {
            EXPECT_GT(f.moment * r.turn, 0) << "clip " << r.clip;
        }
        EXPECT_LT(f.maxOffShaft, 2.0) << "clip " << r.clip;
        EXPECT_LE(f.maxGripGap, 0.5) << "clip " << r.clip;
        EXPECT_LE(f.maxFlexion, 60) << "clip " << r.clip;
        EXPECT_LE(f.maxSwing, 90) << "clip " << r.clip;
        EXPECT_LE(f.maxTwist, 90) << "clip " << r.clip;
    }
    // The changes of hands: on the shaft, though not on the grip while the hands meet.
    for (const ClipRole& r : {ClipRole{24, 1, -1, -1, -1, -1, 0}, ClipRole{25, 1, -1, -1, -1, -1, 0},
                              ClipRole{23, 0, -1, -1, -1, -1, 0}, ClipRole{26, 0, -1, -1, -1, -1, 0}}) {
        Figures f = measure(r);
        if (printFigures())
            std::printf("clip %2d: off shaft %4.2f  wrist flexion %5.1f swing %5.1f twist %5.1f\n", r.clip,
                        f.maxOffShaft, f.maxFlexion, f.maxSwing, f.maxTwist);
        EXPECT_LT(f.maxOffShaft, 2.0) << "clip " << r.clip;
        EXPECT_LT(f.maxHullDepth, 0.01) << "clip " << r.clip;
        EXPECT_LE(f.maxSwing, 90) << "clip " << r.clip;
    }
}

// Every join the stroke machine can make keeps the paddle where it was.
TEST_F(GeneratedPaddler, ClipsJoinWithoutJumps) {
    struct Join {
        int endClip, endSide, startClip, startSide;
    } joins[] = {
        {0, 1, 0, 1},   {1, 1, 1, 1},   {3, 1, 3, 1},   {4, 1, 4, 1},   {8, 1, 8, 1},   {6, 0, 6, 0},
        {5, 0, 5, 0},   {14, 0, 14, 0}, {10, 0, 10, 0}, {12, 0, 12, 0}, {1, 1, 0, 1},   {0, 1, 1, 1},
        {1, 1, 3, 1},   {3, 1, 4, 1},   {4, 1, 7, 1},   {1, 1, 24, 1},  {0, 1, 24, 1},  {7, 1, 8, 1},
        {8, 1, 9, 1},   {9, 1, 0, 1},   {9, 1, 1, 1},   {9, 1, 24, 1},  {5, 0, 6, 0},   {6, 0, 5, 0},
        {5, 0, 14, 0},  {14, 0, 10, 0}, {10, 0, 11, 0}, {5, 0, 23, 0},  {6, 0, 23, 0},  {11, 0, 12, 0},
        {12, 0, 13, 0}, {13, 0, 6, 0},  {13, 0, 5, 0},  {13, 0, 23, 0}, {24, 1, 26, 0}, {23, 0, 25, 1},
        {25, 1, 0, 1},  {25, 1, 3, 1},  {25, 1, 4, 1},  {25, 1, 7, 1},  {26, 0, 6, 0},  {26, 0, 14, 0},
        {26, 0, 10, 0}, {26, 0, 11, 0}, {25, 1, 1, 1},  {26, 0, 5, 0}};
    double worst = 0;
    for (const Join& j : joins) {
        poseAt(j.endClip, 0.99999);
        Matrix4 end = paddlePlacement(j.endSide, bones);
        poseAt(j.startClip, 0);
        Matrix4 start = paddlePlacement(j.startSide, bones);
        for (const Vec3& p : {Vec3(0, 0, -28), Vec3(0, 0, 20.3), Vec3(3.4, 0, -12)}) {
            Vec3 a = inCanoe(end, p), b = inCanoe(start, p);
            double gap = std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
            worst = std::fmax(worst, gap);
            EXPECT_LT(gap, 0.5) << j.endClip << " -> " << j.startClip;
        }
    }
    if (printFigures()) std::printf("worst join %.3f\n", worst);
}

// At the catch the paddle side's shoulder leads, and no part of the body reaches below the hull's
// bottom.
TEST_F(GeneratedPaddler, BodyPoseFitsTheCanoe) {
    const Matrix4 seat = paddlerSeatMatrix();
    for (int side = 0; side < 2; ++side) {
        poseAt(side == 1 ? 0 : 6, 0.15);
        double lead = joint(side == 1 ? 36 : 17, seat).z - joint(side == 1 ? 17 : 36, seat).z;
        if (printFigures()) std::printf("side %d: paddle-side shoulder lead %.2f\n", side, lead);
        EXPECT_GT(lead, 1.0) << "side " << side;
    }
    double lowest = 1e9;
    for (int clip : {1, 0, 4, 3, 8, 5, 6, 10, 14, 12, 24, 26}) {
        poseAt(clip, 0.5);
        for (int v = 0; v < paddler.vertexCount; ++v) {
            if (paddler.skin[v].boneId[0] == 0) continue;
            Vec3 p = inCanoe(seat, skinned(paddler.skin[v]));
            double u = hullStationAt(p.z);
            if (u > -1 && u < 1) lowest = std::fmin(lowest, p.y - hullKeel(u));
        }
    }
    if (printFigures()) std::printf("lowest body vertex above the keel %.2f\n", lowest);
    EXPECT_GE(lowest, 0.0);
}

// Where a body vertex lies in the current pose, as the skinning puts it.
Vec3 posedVertex(const SkinVertex& s) {
    Vec3 p;
    for (uint32_t j = 0; j < std::max<uint32_t>(1, s.bindingType); ++j) {
        Vec3 q = s.restPosition;
        bones[s.boneId[j] - 1].skinMatrix.transformPoint(q);
        p = p + q * (s.bindingType > 1 ? s.boneWeight[j] : 1.0);
    }
    return p;
}

bool bindsTo(const SkinVertex& s, uint32_t bone) {
    for (uint32_t j = 0; j < s.bindingType; ++j)
        if (s.boneId[j] == bone + 1) return true;
    return false;
}

// Enough triangles for the body's shape within the blend list's room, and shoulders whose caps are
// shared by the chest, the clavicle and the upper arm.
TEST_F(GeneratedPaddler, MeshHasShapedShoulders) {
    if (printFigures())
        std::printf("triangles %d, blended vertices %d\n", paddler.faceCount, int(blendList.count));
    EXPECT_GE(paddler.faceCount, 1500);
    EXPECT_LE(blendList.count, 10000);
    for (int clavicle : {16, 35}) {
        int shared = 0;
        for (int v = 0; v < paddler.vertexCount; ++v) {
            const SkinVertex& s = paddler.skin[v];
            shared +=
                s.bindingType == 3 && bindsTo(s, 11) && bindsTo(s, clavicle) && bindsTo(s, clavicle + 1);
        }
        EXPECT_GE(shared, 10) << "clavicle " << clavicle;
    }
}

// At each side's catch the face turns toward the paddle and the paddle side's shoulder reaches forward
// of its place on the chest; the neck, chest, clavicles and jaw move in some clip as well as the spine,
// head and arms; head and hat keep clear of the paddle.
TEST_F(GeneratedPaddler, HeadAndShouldersFollowTheStroke) {
    for (int side = 0; side < 2; ++side) {
        poseAt(side == 1 ? 0 : 6, 0.15);
        const Matrix4& head = bones[13].animGlobal;
        double toPaddle = (side == 1 ? 1 : -1) * head.m[8]; // the face's sideways turn (sine)
        int upperArm = side == 1 ? 36 : 17;
        Matrix4 onChest = invertMatrix(bones[11].animGlobal) * bones[upperArm].animGlobal;
        double forward = onChest.m[14] - (bones[upperArm].restGlobal.m[14] - bones[11].restGlobal.m[14]);
        if (printFigures())
            std::printf("side %d catch: head turned %.1f degrees to the paddle, shoulder forward %.2f\n",
                        side, std::asin(toPaddle) / DEGREES_TO_RADIANS, forward);
        EXPECT_GT(toPaddle, std::sin(5 * DEGREES_TO_RADIANS)) << "side " << side;
        EXPECT_GT(forward, 0.5) << "side " << side;
    }
    int moving = 0;
    bool moves[54] = {false};
    for (int b = 0; b < boneCount; ++b) {
        const SkeletonNode& n = *bones[b].node;
        for (int c = 0; c < n.trackCount; ++c)
            for (int k = 0; k < n.tracks[c].keyCount; ++k) {
                const RotationKey& key = n.tracks[c].keys[k];
                moves[b] =
                    moves[b] || std::fabs(key.angleX) + std::fabs(key.angleY) + std::fabs(key.angleZ) > 1e-4;
            }
        moving += moves[b];
    }
    if (printFigures()) std::printf("bones that move: %d\n", moving);
    for (int b : {9, 10, 11, 12, 13, 14, 16, 35})
        EXPECT_TRUE(moves[b]) << "bone " << b;
    // Every clip, the changes of hands (the paddle passing before the face) included.
    double nearest = 1e9;
    std::vector<ClipRole> clips(std::begin(ROLES), std::end(ROLES));
    for (int c : {24, 25, 23, 26})
        clips.push_back(ClipRole{c, c == 24 || c == 25 ? 1 : 0, -1, -1, -1, -1, 0});
    for (const ClipRole& r : clips) {
        start(r.clip);
        for (double at = 0; at < 0.9999; at = step()) {
            Matrix4 toPaddle = invertMatrix(paddlePlacement(r.side, bones));
            for (int v = 0; v < paddler.vertexCount; ++v) {
                uint32_t bone = paddler.skin[v].boneId[0];
                if (bone < 14 || bone > 16) continue; // head, jaw and hat
                Vec3 p = inCanoe(toPaddle, posedVertex(paddler.skin[v]));
                // Off the blade's plate (throat to tip), or off the shaft and grip.
                double off = p.z < -8 ? std::hypot(std::fmax(0, std::fabs(p.x) - 3.4), std::fabs(p.y)) - 0.3
                                      : std::hypot(p.x, p.y) - 0.9;
                if (p.z > -28 && p.z < 21.2) nearest = std::fmin(nearest, off);
            }
        }
    }
    if (printFigures()) std::printf("head and hat's nearest approach to the paddle %.2f\n", nearest);
    EXPECT_GT(nearest, 0.3);
}

// No edge of the skin tears away as the body poses: a binding to the wrong bone, or weights that do not
// add up, stretch edges far beyond their rest length (the insides of bent joints fold, so shrinking is
// only printed).
TEST_F(GeneratedPaddler, PosedSkinHoldsTogether) {
    double least = 1e9, most = 0;
    const double poses[][2] = {{0, 0.15}, {6, 0.15}, {0, 0.55}, {8, 0.5}, {24, 0.99}, {1, 0.5}, {5, 0.5}};
    for (const auto& pose : poses) {
        poseAt(int(pose[0]), pose[1]);
        for (int f = 0; f < paddler.faceCount; ++f) {
            const uint16_t* v = paddler.model.faces[f].vertexIndex;
            for (int k = 0; k < 3; ++k) {
                const SkinVertex &a = paddler.skin[v[k]], &b = paddler.skin[v[(k + 1) % 3]];
                Vec3 rest = a.restPosition + b.restPosition * -1;
                double restLength = std::hypot(rest.x, rest.y, rest.z);
                if (restLength < 0.2) continue;
                Vec3 posed = posedVertex(a) + posedVertex(b) * -1;
                double ratio = std::hypot(posed.x, posed.y, posed.z) / restLength;
                least = std::fmin(least, ratio);
                most = std::fmax(most, ratio);
            }
        }
    }
    if (printFigures()) std::printf("posed edges from %.2f to %.2f of their rest length\n", least, most);
    EXPECT_LT(most, 5.0);
}

// The fists hold the shaft: in poses of the strokes, the holds and the rest, no vertex of either hand
// (palm and fingers) lies inside the shaft (its radius read from K.pad), and the hand's vertices next
// to the shaft go round it, with no open side wider than a quarter turn.
TEST_F(GeneratedPaddler, FistsCloseRoundTheShaft) {
    BinaryReadFile file((std::string(CANOE_RUN_DIR) + "/K.pad").c_str());
    ASSERT_TRUE(loadPaddleModel(file));
    buildFaceRecords(paddle);
    double radius = 0;
    for (int v = 0; v < paddle.vertexCount; ++v) {
        const Vec3& p = paddle.skin[v].restPosition;
        if (std::fabs(p.z - 19.5) < 0.05) radius = std::fmax(radius, std::hypot(p.x, p.y)); // its top ring
    }
    ASSERT_GT(radius, 0.3);
    const struct {
        int clip, side;
        double at;
    } poses[] = {{0, 1, 0.15}, {0, 1, 0.4},  {0, 1, 0.8}, {3, 1, 0.5}, {8, 1, 0.5},
                 {6, 0, 0.3},  {12, 0, 0.5}, {1, 1, 0.5}, {5, 0, 0.5}};
    for (const auto& pose : poses) {
        poseAt(pose.clip, pose.at);
        Matrix4 toPaddle = invertMatrix(paddlePlacement(pose.side, bones));
        for (int wrist : {21, 40}) {
            Vec3 hand = inCanoe(toPaddle, inCanoe(bones[wrist + 1].animGlobal, Vec3()));
            std::vector<double> round;
            double nearest = 1e9;
            for (int v = 0; v < paddler.vertexCount; ++v) {
                int bone = int(paddler.skin[v].boneId[0]) - 1;
                if (bone != wrist && (bone < wrist + 2 || bone > wrist + 13)) continue;
                Vec3 p = inCanoe(toPaddle, skinned(paddler.skin[v]));
                double off = std::hypot(p.x, p.y);
                if (p.z > -9 && p.z < 19.5) nearest = std::fmin(nearest, off);
                if (off < radius + 1 && std::fabs(p.z - hand.z) < 1.5) round.push_back(std::atan2(p.y, p.x));
            }
            std::sort(round.begin(), round.end());
            ASSERT_FALSE(round.empty()) << pose.clip << " bone " << wrist;
            double gap = round.front() + 2 * M_PI - round.back();
            for (size_t k = 1; k < round.size(); ++k)
                gap = std::fmax(gap, round[k] - round[k - 1]);
            EXPECT_GE(nearest, radius - 0.02) << "clip " << pose.clip << " bone " << wrist;
            EXPECT_LT(gap, M_PI / 2) << "clip " << pose.clip << " bone " << wrist;
        }
    }
}

} // namespace
