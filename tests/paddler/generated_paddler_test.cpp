// The generated "K.man" and "K.pad" of the run folder, through the loader, the keyframe runtime and the
// skinning: the paddle mapped into canoe space by the seat and every rocking sample, the blade's depth,
// its clearance of the hull and its push on it, the hands on the paddle, the joins between clips and the
// body's pose and skin. CANOE_PADDLER_FIGURES=1 prints the measured figures per clip.
#include "assets/canoe_hull.h"
#include "canoe/rocking.h"
#include "canoe/stroke_samples.h"
#include "paddler/animation.h"
#include "paddler/model_tables.h"
#include "paddler/placement.h"
#include "paddler/skeleton.h"
#include "paddler/skinning.h"
#include "paddler/strokes.h"

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
std::string paddleWeighting; // what weighting the paddle printed

// The blade in paddle space: a grid over its plate (throat at z = -8, tip at z = -28).
const int BLADE_POINTS = 5 * 11;
Vec3 bladePoint(int i) {
    double z = -28 + 2.0 * (i / 5), half = z < -25   ? 1.6 + (z + 28) * 0.6
                                           : z > -12 ? 3.4 - (z + 12) * 0.6
                                                     : 3.4;
    return Vec3(half * ((i % 5) - 2) / 2.0, 0, z);
}

// What the stroke machine does with a clip: its hand, the fractions of its power phase and of its
// time in the air (-1: none) and the sign of the turn it makes (0: none). Clips 23 to 26 change hands:
// the hands meet off the grip, and the blade held up turns the thumbs down past the twist bound.
struct ClipRole {
    int clip, side;
    double powerFrom, powerTo, airFrom, airTo;
    int turn;
};
const ClipRole ROLES[] = {
    {0, 1, 0.15, 0.55, 0.7, 0.9, 0},  {4, 1, 0.45, 0.85, 0.1, 0.3, 0}, {3, 1, 0.4, 0.7, 0.9, 1, 1},
    {8, 1, 0, 1, -1, -1, -1},         {1, 1, -1, -1, 0, 1, 0},         {6, 0, 0.15, 0.55, 0.7, 0.9, 0},
    {10, 0, 0.45, 0.85, 0.1, 0.3, 0}, {14, 0, 0.4, 0.7, 0.9, 1, -1},   {12, 0, 0, 1, -1, -1, 1},
    {5, 0, -1, -1, 0, 1, 0},          {24, 1, -1, -1, -1, -1, 0},      {25, 1, -1, -1, -1, -1, 0},
    {23, 0, -1, -1, -1, -1, 0},       {26, 0, -1, -1, -1, -1, 0},
};

struct Figures {
    double minUnder = 1, minAirClearance = 99, maxHullDepth = 0, moment = 0;
    double maxOffShaft = 0, maxGripGap = 0;
    double maxFlexion = 0, maxSwing = 0, maxTwist = 0;         // degrees, the worse wrist of the two
    double aboveKeel = 99, headClearance = 99, maxStretch = 0; // 99: nothing met
    // A pry's wet blade at the two rocking samples of extreme roll: how far its centre moves out from
    // the canoe's centre plane while wet and how far back in (the sums of its steps each way).
    double pryOut[2] = {0, 0}, pryIn[2] = {0, 0};
};

// The rocking samples rolled furthest each way (today 10 degrees and level: the rocking rolls one way
// only).
void rollExtremes(int extremes[2]) {
    extremes[0] = extremes[1] = 0;
    for (int k = 0; k < strokeSamples.sampleCount; ++k) {
        if (rockRollTable[k] < rockRollTable[extremes[0]]) extremes[0] = k;
        if (rockRollTable[k] > rockRollTable[extremes[1]]) extremes[1] = k;
    }
}

// Every bound paddler vertex where this frame's bones put it, as drawing skins it.
void skinPaddler() {
    skinVertices(paddler.skin, blendList, bones);
    for (int v = 0; v < paddler.vertexCount; ++v)
        if (paddler.skin[v].bindingType == 1 && paddler.skin[v].boneId[0] != 0)
            skinRigidVertex(paddler.skin[v], bones);
}

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
        BinaryReadFile paddleFile((std::string(CANOE_RUN_DIR) + "/K.pad").c_str());
        ASSERT_TRUE(loadPaddleModel(paddleFile));
        buildFaceRecords(paddle);
        testing::internal::CaptureStdout();
        weightPaddleSkin(paddle);
        paddleWeighting = testing::internal::GetCapturedStdout();
        std::ifstream samples(std::string(CANOE_RUN_DIR) + "/fstroke.stroke");
        ASSERT_TRUE(readStrokeFile(samples));
        initRocking();
    }
    void SetUp() override {
        paddlerClips = paddler.model.clips;
        paddlerClipCount = paddler.model.clipCount;
    }

    // Starts 'clip'; step() then plays it on in steps of 1/100 s. Each poses and skins the paddler and
    // returns the fraction played.
    double elapsed = 0;
    double start(int clip) {
        startClipAfresh(clip, 1); // the paddle is placed by each row's own side
        elapsed = 0;
        return pose();
    }
    double step() {
        elapsed += 0.01;
        return pose();
    }
    double pose() {
        clipClock.clipElapsed = elapsed;
        updateHierarchy();
        skinPaddler();
        return elapsed / clipClock.clipDuration;
    }
    void poseAt(int clip, double fraction) {
        for (double at = start(clip); at < fraction - 1e-9;)
            at = step();
    }
    static Vec3 inCanoe(const Matrix4& m, Vec3 p) {
        m.transformPoint(p);
        return p;
    }
    static Matrix4 paddleInCanoe(int side, int rock) {
        return rockingMatrix(rock) * paddlerSeatMatrix() * paddlePlacement(side, bones);
    }
    Figures measure(const ClipRole& r);
};

// How deep a canoe-space point lies inside the hull's outer skin (0 outside it).
double hullDepth(const Vec3& p) {
    double u = hullStationAt(p.z);
    if (u <= -0.98 || u >= 0.98 || p.y >= hullSheer(u) || p.y <= hullKeel(u)) return 0;
    double skin = hullPoint(u, hullHeightAtY(u, p.y), 1).x - HULL_X;
    return std::fmax(0, skin - std::fabs(p.x - HULL_X));
}

Vec3 restJoint(int bone) {
    const Matrix4& g = bones[bone].restGlobal;
    return Vec3(g.m[12], g.m[13], g.m[14]);
}

// The wrist of the arm whose hand is bone 'hand' (forearm hand - 3, roll hand - 2, the wrist and fist
// hand - 1): the fist's neutral axis runs from the wrist joint straight across the shaft (the hand's z
// through the hand joint, the thumb's side); the forearm's axis, seen from the fist, swings off it by
// flexion (about z) and deviation. The roll bone carries the forearm's twist, the angle of its turn.
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
    Matrix4 t = invertMatrix(bones[hand - 3].animGlobal) * bones[hand - 2].animGlobal;
    double c = (t.at(0, 0) + t.at(1, 1) + t.at(2, 2) - 1) / 2;
    twist = std::acos(std::fmax(-1.0, std::fmin(1.0, c))) / DEGREES_TO_RADIANS;
}

// Plays the clip through, frame by frame: the blade and hands against the paddle's roles, and the
// skinned body against the canoe, the paddle and its own rest shape.
Figures GeneratedPaddler::measure(const ClipRole& r) {
    Figures f;
    Vec3 last[BLADE_POINTS];
    const Matrix4 seat = paddlerSeatMatrix();
    bool keelDone = false;
    bool pry = r.clip == SIDE_CLIPS[r.side].turningStroke;
    int extremes[2];
    rollExtremes(extremes);
    double wetOut[2] = {-1, -1};
    for (double at = start(r.clip); at < 0.9999; at = step()) {
        Matrix4 level = paddleInCanoe(r.side, -1);
        bool power = at >= r.powerFrom && at <= r.powerTo, air = at >= r.airFrom && at <= r.airTo;
        for (int k = 0; k < strokeSamples.sampleCount; ++k) {
            Matrix4 m = paddleInCanoe(r.side, k);
            int under = 0;
            for (int i = 0; i < BLADE_POINTS; ++i) {
                Vec3 p = inCanoe(m, bladePoint(i));
                under += p.y < WATER;
                if (air) f.minAirClearance = std::fmin(f.minAirClearance, p.y - WATER);
            }
            if (power) f.minUnder = std::fmin(f.minUnder, double(under) / BLADE_POINTS);
        }
        // The pry levers the blade out through all its time in the water: the centre of the blade's wet
        // points, measured across the canoe's centre plane (the rocking rolls the hull with the blade).
        for (int e = 0; pry && e < 2; ++e) {
            Matrix4 m = paddleInCanoe(r.side, extremes[e]);
            int wet = 0;
            double out = 0;
            for (int i = 0; i < BLADE_POINTS; ++i)
                if (inCanoe(m, bladePoint(i)).y < WATER) {
                    ++wet;
                    out += std::fabs(inCanoe(level, bladePoint(i)).x - HULL_X);
                }
            if (wet == 0) continue;
            out /= wet;
            if (wetOut[e] >= 0) {
                f.pryOut[e] += std::fmax(0, out - wetOut[e]);
                f.pryIn[e] += std::fmax(0, wetOut[e] - out);
            }
            wetOut[e] = out;
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
        Matrix4 toPaddle = invertMatrix(paddlePlacement(r.side, bones));
        const Matrix4& hand = bones[r.side == 1 ? PADDLE_BONE_SIDE0 : PADDLE_BONE_SIDE1].animGlobal;
        Vec3 other = inCanoe(toPaddle, Vec3(hand.m[12], hand.m[13], hand.m[14]));
        f.maxOffShaft = std::fmax(f.maxOffShaft, std::hypot(other.x, other.y));
        f.maxGripGap = std::fmax(f.maxGripGap, std::fabs(other.z - 19.8));
        for (int h : {22, 41}) {
            double flexion, swing, twist;
            wristAngles(h, flexion, swing, twist);
            f.maxFlexion = std::fmax(f.maxFlexion, flexion);
            f.maxSwing = std::fmax(f.maxSwing, swing);
            f.maxTwist = std::fmax(f.maxTwist, twist);
        }
        // The body above the keel (mid-clip: the hull's station is dear to find), and head, jaw and hat
        // off the blade's plate (throat to tip) and off the shaft and grip.
        bool middle = at >= 0.5 && !keelDone;
        keelDone = keelDone || middle;
        for (int v = 0; v < paddler.vertexCount; ++v) {
            const SkinVertex& s = paddler.skin[v];
            if (s.boneId[0] == 0) continue;
            Vec3 p = inCanoe(seat, s.skinnedPosition), q = inCanoe(toPaddle, s.skinnedPosition);
            double u = middle ? hullStationAt(p.z) : 1;
            if (u > -1 && u < 1) f.aboveKeel = std::fmin(f.aboveKeel, p.y - hullKeel(u));
            double off = q.z < -8 ? std::hypot(std::fmax(0, std::fabs(q.x) - 3.4), std::fabs(q.y)) - 0.3
                                  : std::hypot(q.x, q.y) - 0.9;
            if (s.boneId[0] >= 14 && s.boneId[0] <= 16 && q.z > -28 && q.z < 21.2)
                f.headClearance = std::fmin(f.headClearance, off);
        }
        // No skin edge torn away: a binding to the wrong bone, or weights that do not add up, stretch
        // edges far beyond their rest length (the insides of bent joints fold, so shrinking is allowed).
        for (int i = 0; i < paddler.faceCount; ++i)
            for (int k = 0; k < 3; ++k) {
                const uint16_t* c = paddler.model.faces[i].vertexIndex;
                const SkinVertex &a = paddler.skin[c[k]], &b = paddler.skin[c[(k + 1) % 3]];
                Vec3 rest = a.restPosition + b.restPosition * -1,
                     posed = a.skinnedPosition + b.skinnedPosition * -1;
                double restLength = std::hypot(rest.x, rest.y, rest.z);
                if (restLength >= 0.2)
                    f.maxStretch =
                        std::fmax(f.maxStretch, std::hypot(posed.x, posed.y, posed.z) / restLength);
            }
    }
    return f;
}

bool printFigures() {
    const char* e = std::getenv("CANOE_PADDLER_FIGURES");
    return e && e[0] == '1';
}

bool bindsTo(const SkinVertex& s, uint32_t bone) {
    for (uint32_t j = 0; j < s.bindingType; ++j)
        if (s.boneId[j] == bone + 1) return true;
    return false;
}

// The rig the bone numbers here name; enough triangles for the body's shape within the blend list's
// room; shoulder caps shared by the chest, the clavicle and the upper arm; a paddle on single bones.
TEST_F(GeneratedPaddler, ModelsFitTheScene) {
    EXPECT_EQ(boneCount, 54);
    EXPECT_EQ(paddlerClipCount, 27);
    int blended = 0, shared[2] = {0, 0};
    for (int v = 0; v < paddler.vertexCount; ++v) {
        const SkinVertex& s = paddler.skin[v];
        blended += s.bindingType > 1;
        for (int c = 0; c < 2; ++c)
            shared[c] +=
                s.bindingType == 3 && bindsTo(s, 11) && bindsTo(s, 16 + 19 * c) && bindsTo(s, 17 + 19 * c);
    }
    if (printFigures()) std::printf("triangles %d, blended vertices %d\n", paddler.faceCount, blended);
    EXPECT_GE(paddler.faceCount, 1500);
    EXPECT_LE(blended, 10000);
    EXPECT_GE(shared[0], 10);
    EXPECT_GE(shared[1], 10);
    EXPECT_EQ(paddleWeighting, "");
    ASSERT_EQ(paddle.model.textureCount, 1);
    EXPECT_TRUE(pathEndsWith(paddle.model.textures[0].path, ".bmp"));
}

// Every clip played through: the strokes and holds in the water through their power phase, out of it
// in the air, turning the canoe the way the clip turns it, the pry's wet blade only going out from the
// hull at both roll extremes (a blade that sweeps in while wet undoes its own turn), with the top hand
// on the grip and the wrists and forearms within their bounds; every clip, the changes of hands
// included, clear of the hull, with both hands on the shaft, the body above the keel, head and hat
// clear of the paddle and the skin whole.
TEST_F(GeneratedPaddler, ClipsWorkTheWater) {
    int extremes[2];
    rollExtremes(extremes);
    if (printFigures())
        std::printf(
            "clip  under  air  in hull      turn  off shaft  grip gap  flexion swing twist  keel  head "
            "stretch  pry out/in at roll %.0f, %.0f degrees\n",
            std::fabs(rockRollTable[extremes[0]]), std::fabs(rockRollTable[extremes[1]]));
    for (const ClipRole& r : ROLES) {
        Figures f = measure(r);
        if (printFigures())
            std::printf("%4d %5.0f%% %6.2f %5.2f %+11.2f %6.2f %9.2f %9.1f %5.1f %5.1f %6.2f %5.2f %5.2f"
                        "  %5.2f %5.2f %5.2f %5.2f\n",
                        r.clip, 100 * f.minUnder, f.minAirClearance, f.maxHullDepth, f.moment, f.maxOffShaft,
                        f.maxGripGap, f.maxFlexion, f.maxSwing, f.maxTwist, f.aboveKeel, f.headClearance,
                        f.maxStretch, f.pryOut[0], f.pryIn[0], f.pryOut[1], f.pryIn[1]);
        EXPECT_GE(f.minUnder, 0.4) << "clip " << r.clip;
        EXPECT_GE(f.minAirClearance, 2.0) << "clip " << r.clip;
        EXPECT_TRUE(r.turn == 0 || f.moment * r.turn > 0) << "clip " << r.clip << " turn " << f.moment;
        if (r.clip == SIDE_CLIPS[r.side].turningStroke)
            for (int e = 0; e < 2; ++e) {
                EXPECT_GE(f.pryOut[e], 3.0) << "clip " << r.clip << " roll " << rockRollTable[extremes[e]];
                EXPECT_LE(f.pryIn[e], 0.25) << "clip " << r.clip << " roll " << rockRollTable[extremes[e]];
            }
        if (r.clip < 23) {
            EXPECT_LE(f.maxGripGap, 0.5) << "clip " << r.clip;
            EXPECT_LE(f.maxFlexion, 60) << "clip " << r.clip;
            EXPECT_LE(f.maxTwist, 90) << "clip " << r.clip;
        }
        EXPECT_LT(f.maxHullDepth, 0.01) << "clip " << r.clip;
        EXPECT_LT(f.maxOffShaft, 2.0) << "clip " << r.clip;
        EXPECT_LE(f.maxSwing, 90) << "clip " << r.clip;
        EXPECT_GE(f.aboveKeel, 0.0) << "clip " << r.clip;
        EXPECT_GT(f.headClearance, 0.3) << "clip " << r.clip;
        EXPECT_LT(f.maxStretch, 5.0) << "clip " << r.clip;
    }
}

// Every join the stroke machine can make keeps the paddle where it was: each stroke and hold into
// itself, and these.
TEST_F(GeneratedPaddler, ClipsJoinWithoutJumps) {
    struct Join {
        int endClip, endSide, startClip, startSide;
    };
    std::vector<Join> joins = {
        {1, 1, 0, 1},   {0, 1, 1, 1},   {1, 1, 3, 1},   {3, 1, 4, 1},   {4, 1, 7, 1},   {1, 1, 24, 1},
        {0, 1, 24, 1},  {7, 1, 8, 1},   {8, 1, 9, 1},   {9, 1, 0, 1},   {9, 1, 1, 1},   {9, 1, 24, 1},
        {5, 0, 6, 0},   {6, 0, 5, 0},   {5, 0, 14, 0},  {14, 0, 10, 0}, {10, 0, 11, 0}, {5, 0, 23, 0},
        {6, 0, 23, 0},  {11, 0, 12, 0}, {12, 0, 13, 0}, {13, 0, 6, 0},  {13, 0, 5, 0},  {13, 0, 23, 0},
        {24, 1, 26, 0}, {23, 0, 25, 1}, {25, 1, 0, 1},  {25, 1, 3, 1},  {25, 1, 4, 1},  {25, 1, 7, 1},
        {26, 0, 6, 0},  {26, 0, 14, 0}, {26, 0, 10, 0}, {26, 0, 11, 0}, {25, 1, 1, 1},  {26, 0, 5, 0}};
    for (const ClipRole& r : ROLES)
        if (r.clip < 23) joins.push_back(Join{r.clip, r.side, r.clip, r.side});
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

// At each side's catch the paddle side's shoulder leads the other and reaches forward of its place on
// the chest, and the face turns toward the paddle.
TEST_F(GeneratedPaddler, CatchLeadsWithThePaddleSide) {
    const Matrix4 seat = paddlerSeatMatrix();
    for (int side = 0; side < 2; ++side) {
        poseAt(side == 1 ? 0 : 6, 0.15);
        int upperArm = side == 1 ? 36 : 17, otherArm = side == 1 ? 17 : 36;
        double lead = inCanoe(seat, inCanoe(bones[upperArm].animGlobal, Vec3())).z -
                      inCanoe(seat, inCanoe(bones[otherArm].animGlobal, Vec3())).z;
        Matrix4 onChest = invertMatrix(bones[11].animGlobal) * bones[upperArm].animGlobal;
        double forward = onChest.m[14] - (bones[upperArm].restGlobal.m[14] - bones[11].restGlobal.m[14]);
        double toPaddle = (side == 1 ? 1 : -1) * bones[13].animGlobal.m[8]; // the face's sideways turn (sine)
        if (printFigures())
            std::printf(
                "side %d catch: shoulder lead %.2f, forward %.2f, head turned %.1f degrees to the paddle\n",
                side, lead, forward, std::asin(toPaddle) / DEGREES_TO_RADIANS);
        EXPECT_GT(lead, 1.0) << "side " << side;
        EXPECT_GT(forward, 0.5) << "side " << side;
        EXPECT_GT(toPaddle, std::sin(5 * DEGREES_TO_RADIANS)) << "side " << side;
    }
}

// The fists hold the shaft: in poses of the strokes, the holds and the rest, no vertex of either hand
// (palm and fingers) lies inside the shaft (its radius read from K.pad), and the hand's vertices next
// to the shaft go round it, with no open side wider than a quarter turn.
TEST_F(GeneratedPaddler, FistsCloseRoundTheShaft) {
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
                Vec3 p = inCanoe(toPaddle, paddler.skin[v].skinnedPosition);
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
