// The generated "K.man" and "K.pad" played through the loader, the keyframe runtime and the skinning, the
// paddle placed in canoe space by the seat and every rocking sample: the blade, the hands, the joins
// between clips, the body's pose and skin. CANOE_PADDLER_FIGURES=1 prints the figures of every clip.
#include "assets/canoe_hull.h"
#include "canoe/rocking.h"
#include "canoe/stroke_samples.h"
#include "paddler/grip.h"
#include "paddler/placement.h"
#include "paddler/skinning.h"
#include "model_bytes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const double WATER = -5;
std::string paddlePrinted; // what preparing the paddle printed: its weighting and its texture

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
    {23, 0, -1, -1, -1, -1, 0},       {26, 0, -1, -1, -1, -1, 0}};

// Each figure is the least (its bound a floor) or the most (a ceiling) over a clip's frames. STROKES: all
// but the changes of hands; PRY: the turning strokes.
enum { UNDER, AIR, HULL, SHAFT, GRIP, FLEXION, SWING, TWIST, KEEL, HEAD, STRETCH, PRY_OUT, PRY_IN };
enum Clips { ALL, STROKES, PRY };
const struct {
    const char* name;
    bool least;
    double bound;
    Clips clips;
} FIGURES[] = {
    {"blade under, power phase", true, 0.4, ALL},   {"blade's clearance in the air", true, 2.0, ALL},
    {"blade in the hull", false, 0.01, ALL},        {"free hand off the shaft", false, 2.0, ALL},
    {"top hand off the grip", false, 0.5, STROKES}, {"wrist's flexion (degrees)", false, 60, STROKES},
    {"wrist's swing (degrees)", false, 90, ALL},    {"forearm's twist (degrees)", false, 90, STROKES},
    {"body above the keel", true, 0, ALL},          {"head and hat off the paddle", true, 0.3, ALL},
    {"skin edges' stretch", false, 5, ALL},         {"pry's outward travel", true, 3, PRY},
    {"pry's inward travel", false, 0.25, PRY}};
const int FIGURE_COUNT = sizeof FIGURES / sizeof FIGURES[0];

struct Figures {
    double value[FIGURE_COUNT];
    double moment = 0; // the blade's push on the water as a turn about midships (positive: bow to +x)
    Figures() {
        for (int k = 0; k < FIGURE_COUNT; ++k)
            value[k] = FIGURES[k].least ? 99 : 0; // 99: nothing met
    }
    void take(int k, double v) {
        value[k] = FIGURES[k].least ? std::fmin(value[k], v) : std::fmax(value[k], v);
    }
};

Vec3 inCanoe(const Matrix4& m, Vec3 p) {
    m.transformPoint(p);
    return p;
}
Matrix4 paddleInCanoe(int side, int rock) {
    return rockingMatrix(rock) * paddlerSeatMatrix() * paddlePlacement(side, bones);
}
Vec3 jointAt(const Matrix4& global) {
    return Vec3(global.m[12], global.m[13], global.m[14]);
}

// Plays 'clip' to 'fraction' of its length and skins every bound vertex where the bones put it, the
// corners of the faces drawn on a bone's matrix too (the paddle is placed by each row's own side).
void poseAt(int clip, double fraction) {
    posePaddlerAt(clip, 1, fraction * clipDurationOf(clip));
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
        preparePaddler(noBmpTexture, noTgaTexture);
        BinaryReadFile paddleFile((std::string(CANOE_RUN_DIR) + "/K.pad").c_str());
        ASSERT_TRUE(loadPaddleModel(paddleFile));
        testing::internal::CaptureStdout();
        preparePaddle(noBmpTexture);
        paddlePrinted = testing::internal::GetCapturedStdout();
        std::ifstream samples(std::string(CANOE_RUN_DIR) + "/fstroke.stroke");
        ASSERT_TRUE(readStrokeFile(samples));
        initRocking();
    }
};

// How deep a canoe-space point lies inside the hull's outer skin (0 outside it).
double hullDepth(const Vec3& p) {
    double u = hullStationAt(p.z);
    if (u <= -0.98 || u >= 0.98 || p.y >= hullSheer(u) || p.y <= hullKeel(u)) return 0;
    double skin = hullPoint(u, hullHeightAtY(u, p.y), 1).x - HULL_X;
    return std::fmax(0, skin - std::fabs(p.x - HULL_X));
}

// The wrist of the arm whose hand is bone 'hand' (forearm hand - 3, roll hand - 2, the wrist and fist
// hand - 1): the fist's neutral axis runs from the wrist joint straight across the shaft (the hand's z
// through the hand joint, the thumb's side); the forearm's axis, seen from the fist, swings off it by
// flexion (about z) and deviation. The roll bone carries the forearm's twist, the angle of its turn.
void takeWristAngles(int hand, Figures& f) {
    Vec3 d = jointAt(bones[hand].restGlobal) - jointAt(bones[hand - 1].restGlobal);
    Vec3 a = unitVector(jointAt(bones[hand - 1].restGlobal) - jointAt(bones[hand - 3].restGlobal));
    d = unitVector(Vec3(d.x, d.y, 0));
    Matrix4 r = invertMatrix(bones[hand - 1].animGlobal) * bones[hand - 2].animGlobal;
    r.transformDirection(a);
    double along = dot(a, d);
    f.take(FLEXION, std::fabs(std::atan2(a.x * d.y - a.y * d.x, along)) / DEGREES_TO_RADIANS);
    f.take(SWING, std::acos(std::fmax(-1.0, std::fmin(1.0, along))) / DEGREES_TO_RADIANS);
    Matrix4 t = invertMatrix(bones[hand - 3].animGlobal) * bones[hand - 2].animGlobal;
    double c = (t.at(0, 0) + t.at(1, 1) + t.at(2, 2) - 1) / 2;
    f.take(TWIST, std::acos(std::fmax(-1.0, std::fmin(1.0, c))) / DEGREES_TO_RADIANS);
}

// Plays the clip through in steps of 1/100 s.
Figures measure(const ClipRole& r) {
    Figures f;
    Vec3 last[BLADE_POINTS];
    const Matrix4 seat = paddlerSeatMatrix();
    bool keelDone = false, pry = r.clip == SIDE_CLIPS[r.side].turningStroke;
    // The pry levers the blade out all its time in the water (a blade that sweeps in undoes its own turn): at
    // every roll, the steps out and in of its wet points' centre from the canoe's centre plane (level:
    // the rocking rolls the hull with the blade).
    const int samples = strokeSamples.sampleCount;
    std::vector<double> wetOut(samples, -1), outward(samples, 0), inward(samples, 0);
    const double step = 0.01 / clipDurationOf(r.clip);
    for (double at = 0; at < 0.9999; at += step) {
        poseAt(r.clip, at);
        Matrix4 level = paddleInCanoe(r.side, -1);
        bool power = at >= r.powerFrom && at <= r.powerTo, air = at >= r.airFrom && at <= r.airTo;
        for (int k = 0; k < samples; ++k) {
            Matrix4 m = paddleInCanoe(r.side, k);
            int under = 0;
            double out = 0;
            for (int i = 0; i < BLADE_POINTS; ++i) {
                Vec3 p = inCanoe(m, bladePoint(i));
                if (p.y < WATER) {
                    ++under;
                    out += std::fabs(inCanoe(level, bladePoint(i)).x - HULL_X);
                }
                if (air) f.take(AIR, p.y - WATER);
            }
            if (power) f.take(UNDER, double(under) / BLADE_POINTS);
            if (!pry || under == 0) continue;
            out /= under;
            if (wetOut[k] >= 0) {
                outward[k] += std::fmax(0, out - wetOut[k]);
                inward[k] += std::fmax(0, wetOut[k] - out);
            }
            wetOut[k] = out;
        }
        // The water's drag on the face of the blade, on its wet part, handed on to the hull as a turn.
        Vec3 normal = inCanoe(level, Vec3(0, 1, 0)) - inCanoe(level, Vec3());
        for (int i = 0; i < BLADE_POINTS; ++i) {
            // The rocking turns the hull with the paddler, so the level pose shows every contact.
            Vec3 p = inCanoe(level, bladePoint(i));
            f.take(HULL, hullDepth(p));
            if (power && at > 0 && p.y < WATER) {
                double push = -dot(p - last[i], normal);
                f.moment += (p.z - HULL_Z_MID) * normal.x * push - (p.x - HULL_X) * normal.z * push;
            }
            last[i] = p;
        }
        // The free hand on the shaft, and on the grip where it is the top hand.
        Matrix4 toPaddle = invertMatrix(paddlePlacement(r.side, bones));
        Vec3 other =
            inCanoe(toPaddle, jointAt(bones[r.side == 1 ? PADDLE_BONE_SIDE0 : PADDLE_BONE_SIDE1].animGlobal));
        f.take(SHAFT, std::hypot(other.x, other.y));
        f.take(GRIP, std::fabs(other.z - 19.8));
        takeWristAngles(PADDLE_BONE_SIDE0, f);
        takeWristAngles(PADDLE_BONE_SIDE1, f);
        // The body above the keel (mid-clip: the hull's station is dear to find), and head, jaw and hat
        // off the blade's plate (throat to tip) and off the shaft and grip.
        bool middle = at >= 0.5 && !keelDone;
        keelDone = keelDone || middle;
        for (int v = 0; v < paddler.vertexCount; ++v) {
            const SkinVertex& s = paddler.skin[v];
            if (s.boneId[0] == 0) continue;
            Vec3 p = inCanoe(seat, s.skinnedPosition), q = inCanoe(toPaddle, s.skinnedPosition);
            double u = middle ? hullStationAt(p.z) : 1;
            if (u > -1 && u < 1) f.take(KEEL, p.y - hullKeel(u));
            double off = q.z < -8 ? std::hypot(std::fmax(0, std::fabs(q.x) - 3.4), std::fabs(q.y)) - 0.3
                                  : std::hypot(q.x, q.y) - 0.9;
            if (s.boneId[0] >= 14 && s.boneId[0] <= 16 && q.z > -28 && q.z < 21.2) f.take(HEAD, off);
        }
        // No skin edge torn away: a binding to the wrong bone, or weights that do not add up, stretch
        // edges far beyond their rest length (the insides of bent joints fold, so shrinking is allowed).
        for (int i = 0; i < paddler.faceCount; ++i)
            for (int k = 0; k < 3; ++k) {
                const uint16_t* c = paddler.model.faces[i].vertexIndex;
                const SkinVertex &a = paddler.skin[c[k]], &b = paddler.skin[c[(k + 1) % 3]];
                double restLength = length(a.restPosition - b.restPosition);
                if (restLength >= 0.2)
                    f.take(STRETCH, length(a.skinnedPosition - b.skinnedPosition) / restLength);
            }
    }
    for (int k = 0; pry && k < samples; ++k) {
        f.take(PRY_OUT, outward[k]);
        f.take(PRY_IN, inward[k]);
    }
    return f;
}

const bool PRINT_FIGURES = std::getenv("CANOE_PADDLER_FIGURES") != nullptr;

bool bindsTo(const SkinVertex& s, uint32_t bone) {
    for (uint32_t j = 0; j < s.bindingType; ++j)
        if (s.boneId[j] == bone + 1) return true;
    return false;
}

// The rig the bone numbers here name; enough triangles for the body's shape within the blend list's
// room; shoulder caps shared by the chest, the clavicle and the upper arm; a paddle on single bones.
TEST_F(GeneratedPaddler, ModelsFitTheScene) {
    EXPECT_TRUE(boneCount == 54 && paddlerClipCount == 27) << boneCount << " bones, " << paddlerClipCount;
    int blended = 0, shared[2] = {0, 0};
    for (int v = 0; v < paddler.vertexCount; ++v) {
        const SkinVertex& s = paddler.skin[v];
        blended += s.bindingType > 1;
        for (int c = 0; c < 2; ++c)
            shared[c] +=
                s.bindingType == 3 && bindsTo(s, 11) && bindsTo(s, 16 + 19 * c) && bindsTo(s, 17 + 19 * c);
    }
    EXPECT_TRUE(paddler.faceCount >= 1500 && blended <= 10000) << paddler.faceCount << ", " << blended;
    EXPECT_TRUE(shared[0] >= 10 && shared[1] >= 10) << shared[0] << ", " << shared[1];
    EXPECT_EQ(paddlePrinted, "");
}

// Every clip played through keeps its figures within their bounds and turns the canoe the way it should.
TEST_F(GeneratedPaddler, ClipsWorkTheWater) {
    for (const ClipRole& r : ROLES) {
        Figures f = measure(r);
        bool pry = r.clip == SIDE_CLIPS[r.side].turningStroke;
        if (PRINT_FIGURES) std::printf("clip %d: turn %+.2f\n", r.clip, f.moment);
        EXPECT_TRUE(r.turn == 0 || f.moment * r.turn > 0) << "clip " << r.clip << " turn " << f.moment;
        for (int k = 0; k < FIGURE_COUNT; ++k) {
            if ((FIGURES[k].clips == STROKES && r.clip >= 23) || (FIGURES[k].clips == PRY && !pry)) continue;
            if (PRINT_FIGURES) std::printf("    %-32s %8.3f\n", FIGURES[k].name, f.value[k]);
            if (FIGURES[k].least)
                EXPECT_GE(f.value[k], FIGURES[k].bound) << "clip " << r.clip << ": " << FIGURES[k].name;
            else
                EXPECT_LE(f.value[k], FIGURES[k].bound) << "clip " << r.clip << ": " << FIGURES[k].name;
        }
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
    for (const Join& j : joins) {
        poseAt(j.endClip, 1);
        Matrix4 end = paddlePlacement(j.endSide, bones);
        poseAt(j.startClip, 0);
        Matrix4 start = paddlePlacement(j.startSide, bones);
        for (const Vec3& p : {Vec3(0, 0, -28), Vec3(0, 0, 20.3), Vec3(3.4, 0, -12)})
            EXPECT_LT(length(inCanoe(end, p) - inCanoe(start, p)), 0.5) << j.endClip << " -> " << j.startClip;
    }
}

// At each side's catch the paddle side's shoulder leads the other and reaches forward of its place on
// the chest, and the face turns toward the paddle.
TEST_F(GeneratedPaddler, CatchLeadsWithThePaddleSide) {
    const Matrix4 seat = paddlerSeatMatrix();
    for (int side = 0; side < 2; ++side) {
        poseAt(side == 1 ? 0 : 6, 0.15);
        int upperArm = side == 1 ? 36 : 17, otherArm = side == 1 ? 17 : 36;
        double lead = inCanoe(seat, jointAt(bones[upperArm].animGlobal)).z -
                      inCanoe(seat, jointAt(bones[otherArm].animGlobal)).z;
        Matrix4 onChest = invertMatrix(bones[11].animGlobal) * bones[upperArm].animGlobal;
        double forward = onChest.m[14] - (bones[upperArm].restGlobal.m[14] - bones[11].restGlobal.m[14]);
        double toPaddle = (side == 1 ? 1 : -1) * bones[13].animGlobal.m[8]; // the face's sideways turn (sine)
        EXPECT_TRUE(lead > 1.0 && forward > 0.5 && toPaddle > std::sin(5 * DEGREES_TO_RADIANS))
            << "side " << side << ": lead " << lead << ", forward " << forward << ", turn " << toPaddle;
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
        for (int wrist : {PADDLE_BONE_SIDE0 - 1, PADDLE_BONE_SIDE1 - 1}) {
            Vec3 hand = inCanoe(toPaddle, jointAt(bones[wrist + 1].animGlobal));
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
            EXPECT_TRUE(nearest >= radius - 0.02 && gap < M_PI / 2)
                << "clip " << pose.clip << " bone " << wrist << ": " << nearest << ", " << gap;
        }
    }
}

} // namespace
