// The paddler's clips. A pose is authored as a paddle placement (where the lower hand holds the shaft,
// which way the shaft and the blade's face point) and two torso angles; the arms are solved for it
// (two-bone solve, the elbow's swivel chosen per pose, the hand taking the placement's orientation) and every
// local rotation becomes an Euler key (Rz * Ry * Rx). Side 0 mirrors side 1.
#include "assets/paddler_rig.h"
#include "base/quaternion.h"
#include "paddler/stroke_clips.h"

#include <cmath>

namespace {

const double PI = 3.14159265358979323846;
const double GRIP = 19.8; // shaft length between the lower hand and the grip hand
const int FPS = 30;

// The generator's rotations are Matrix4s with no translation; a direction turned by one.
Vec3 apply(const Matrix4& m, Vec3 v) {
    m.transformDirection(v);
    return v;
}

Matrix4 axisAngle(Vec3 axis, double radians) {
    axis = unitVector(axis);
    double c = std::cos(radians), s = std::sin(radians), t = 1 - c;
    double x = axis.x, y = axis.y, z = axis.z;
    return Matrix4(t * x * x + c, t * x * y - s * z, t * x * z + s * y, 0, //
                   t * x * y + s * z, t * y * y + c, t * y * z - s * x, 0, //
                   t * x * z - s * y, t * y * z + s * x, t * z * z + c, 0, //
                   0, 0, 0, 1);
}
// The smallest rotation that turns direction a into direction b.
Matrix4 fromTo(const Vec3& a, const Vec3& b) {
    Vec3 ua = unitVector(a), ub = unitVector(b);
    Vec3 axis = cross(ua, ub);
    double s = length(axis), c = dot(ua, ub);
    if (s < 1e-9)
        return c > 0 ? Matrix4()
                     : axisAngle(std::fabs(ua.x) < 0.9 ? cross(ua, Vec3(1, 0, 0)) : cross(ua, Vec3(0, 1, 0)),
                                 PI);
    return axisAngle(axis, std::atan2(s, c));
}
Matrix4 columns(const Vec3& x, const Vec3& y, const Vec3& z) {
    return Matrix4(x.x, y.x, z.x, 0, x.y, y.y, z.y, 0, x.z, y.z, z.z, 0, 0, 0, 0, 1);
}

// Where the paddle is: the lower hand's grip point, the shaft toward the grip, a hint for the blade's
// face normal; the torso's lean forward and twist (degrees; positive twist brings the right shoulder
// forward).
struct Target {
    Vec3 origin, shaft, face;
    double lean, twist;
    double grip = GRIP; // where the other hand holds the shaft; 0 where both hands meet
    double breath = 0;  // 1 at the top of a breath: chest and shoulders raised
};

Target mirror(const Target& t) {
    return Target{Vec3(-t.origin.x, t.origin.y, t.origin.z),
                  Vec3(-t.shaft.x, t.shaft.y, t.shaft.z),
                  Vec3(-t.face.x, t.face.y, t.face.z),
                  t.lean,
                  -t.twist,
                  t.grip,
                  t.breath};
}

Target blendTargets(const Target& a, const Target& b, double t) {
    double s = t * t * (3 - 2 * t);
    return Target{a.origin + (b.origin - a.origin) * s,
                  unitVector(unitVector(a.shaft) + (unitVector(b.shaft) - unitVector(a.shaft)) * s),
                  a.face + (b.face - a.face) * s,
                  a.lean + (b.lean - a.lean) * s,
                  a.twist + (b.twist - a.twist) * s,
                  a.grip + (b.grip - a.grip) * s,
                  a.breath + (b.breath - a.breath) * s};
}

// The paddle's placement P: columns are the paddle's x (blade width), y (face normal), z (shaft).
Matrix4 placement(const Target& t) {
    Vec3 z = unitVector(t.shaft);
    Vec3 y = unitVector(t.face - z * dot(t.face, z));
    return columns(cross(y, z), y, z);
}

struct Pose {
    Matrix4 local[RIG_BONES]; // each bone's rotation against its parent, the identity until posed
};

void globals(const Pose& p, Matrix4* g, Vec3* pos) {
    for (int i = 0; i < RIG_BONES; ++i) {
        int parent = rigParent[i];
        if (parent < 0) {
            g[i] = p.local[i];
            pos[i] = rigJoint[i];
        } else {
            g[i] = g[parent] * p.local[i];
            pos[i] = pos[parent] + apply(g[parent], rigJoint[i] - rigJoint[parent]);
        }
    }
}

// One arm's rest shape: upper arm u0 (shoulder to elbow), forearm f0 (elbow to wrist), the elbow's
// hinge axis, and the hand's neutral frame N (hand axes to forearm axes with the thumb toward the
// shoulder side and the palm across the hinge: the forearm's mid position).
struct ArmRest {
    Vec3 u0, f0, hinge, wristInHand;
    Matrix4 neutral;
    Vec3 handAxis, palm; // in the hand's frame: wrist to knuckles, the palm's normal toward the shaft
};

ArmRest armRest(int c, double side) {
    const Vec3* j = rigJoint;
    ArmRest r;
    r.u0 = j[c + 3] - j[c + 1];
    r.f0 = j[c + 5] - j[c + 3];
    r.hinge = unitVector(cross(r.u0, r.f0));
    r.wristInHand = j[c + 5] - j[c + 6];
    r.handAxis = unitVector(Vec3(-r.wristInHand.x, -r.wristInHand.y, 0));
    // The knuckles' line runs along the shaft (the hand's z), toward the thumb.
    Vec3 a = unitVector(r.f0), thumb(0, 0, 1);
    // A left hand's palm faces along axis x thumb, a right hand's the other way.
    r.palm = cross(r.handAxis, thumb) * side;
    Vec3 thumb0 = unitVector(r.u0 * -1 - a * dot(r.u0 * -1, a));
    r.neutral =
        columns(a, thumb0, cross(a, thumb0) * side) * transposeMatrix(columns(r.handAxis, thumb, r.palm));
    return r;
}

// The rotation about unit axis 'a' that, taken out of r, leaves a swing about an axis across 'a'
// (degrees).
double twistAbout(const Matrix4& r, const Vec3& a) {
    double w = 1 + r.at(0, 0) + r.at(1, 1) + r.at(2, 2);
    Vec3 v(r.at(2, 1) - r.at(1, 2), r.at(0, 2) - r.at(2, 0), r.at(1, 0) - r.at(0, 1));
    // (w, v) is four times |q.w| times the quaternion; its twist part is (w, v.a a).
    if (w < 1e-9) {
        // A half turn: the twist is whatever its axis has along 'a'.
        Vec3 d = apply(r, a);
        return dot(d, a) > 0 ? 180 : 0;
    }
    return 2 * std::atan2(dot(v, a), w) * 180 / PI;
}

struct ArmChoice {
    Matrix4 upper, upperRoll, fore, foreRoll, wrist, grip;
    double cost, swing, flexion, twist, shortBy;
};

Matrix4 rotZ(double degrees);

// The arm for one swivel 'psi' (degrees) of the elbow about the shoulder-wrist line: a hinge elbow,
// the upper arm's twist on its roll bone, the forearm's twist (pronation) on the forearm roll and the
// rest on the wrist as a swing. The fist (the wrist bone's frame, fingers and palm) may turn about the
// shaft against the hand bone, which carries the paddle: it turns so that the forearm comes in along
// the fist's axis as nearly as the shaft allows.
ArmChoice armAt(const ArmRest& r, const Matrix4& parent, const Matrix4& chest, double side, const Vec3& s,
                const Vec3& at, const Matrix4& hand, double psi, double turn) {
    double l1 = length(r.u0), l2 = length(r.f0);
    Vec3 u0 = unitVector(r.u0), a = unitVector(r.f0);
    Vec3 pole = apply(chest, Vec3(0.6 * side, -1, -0.35));
    Vec3 seen = apply(transposeMatrix(hand), unitVector(at - s));
    double roll = std::atan2(seen.y, seen.x) - std::atan2(r.handAxis.y, r.handAxis.x) + turn;
    Vec3 elbow, u, f, n;
    Matrix4 fist;
    double shortBy = 0;
    // The fist's turn moves the wrist round the shaft, which moves the forearm: a few rounds settle it.
    for (int pass = 0; pass < 4; ++pass) {
        fist = hand * rotZ(roll * 180 / PI);
        Vec3 d = at - apply(fist, r.wristInHand * -1) - s;
        double dist = length(d);
        shortBy = std::fmax(0, dist - (l1 + l2) * 0.999);
        Vec3 dn = d * (1 / dist);
        dist = std::fmax(std::fabs(l1 - l2) * 1.05, std::fmin(dist, (l1 + l2) * 0.999));
        Vec3 p0 = unitVector(pole - dn * dot(pole, dn));
        double rad = psi * PI / 180;
        Vec3 p = p0 * std::cos(rad) + cross(dn, p0) * (std::sin(rad) * side);
        double ca = (l1 * l1 + dist * dist - l2 * l2) / (2 * l1 * dist);
        elbow = s + (dn * ca + p * std::sqrt(std::fmax(0, 1 - ca * ca))) * l1;
        u = unitVector(elbow - s);
        f = unitVector(s + dn * dist - elbow);
        n = unitVector(cross(p, dn));
        if (pass == 3) break;
        seen = apply(transposeMatrix(hand), f);
        double want = std::atan2(seen.y, seen.x) - std::atan2(r.handAxis.y, r.handAxis.x) + turn;
        roll += 0.7 * std::remainder(want - roll, 2 * PI);
    }
    Matrix4 upperFull =
        columns(u, n, cross(u, n)) * transposeMatrix(columns(u0, r.hinge, cross(u0, r.hinge)));
    Matrix4 gf = columns(f, n, cross(f, n)) * transposeMatrix(columns(a, r.hinge, cross(a, r.hinge)));
    ArmChoice c;
    c.shortBy = shortBy;
    Matrix4 gu = fromTo(r.u0, u);
    c.upper = transposeMatrix(parent) * gu;
    c.upperRoll = transposeMatrix(gu) * upperFull;
    c.fore = transposeMatrix(upperFull) * gf;
    Matrix4 rel = transposeMatrix(gf) * fist;
    c.twist = twistAbout(rel * transposeMatrix(r.neutral), a);
    c.foreRoll = axisAngle(a, c.twist * PI / 180);
    c.wrist = transposeMatrix(c.foreRoll) * rel;
    c.grip = rotZ(-roll * 180 / PI);
    // The forearm's axis seen from the fist, against the fist's neutral axis.
    Vec3 b = apply(transposeMatrix(rel), a);
    double along = dot(b, r.handAxis);
    c.swing = std::acos(std::fmax(-1.0, std::fmin(1.0, along))) * 180 / PI;
    c.flexion = std::fabs(std::atan2(dot(b, r.palm), along)) * 180 / PI;
    // The elbow out to the side and not above the shoulder.
    Vec3 local = apply(transposeMatrix(chest), elbow - s);
    double in = std::fmax(0, -2.0 - local.x * side), up = std::fmax(0, local.y);
    auto over = [](double x, double limit) { return std::fmax(0, std::fabs(x) - limit); };
    c.cost = c.swing * c.swing + 4 * over(c.flexion, 55) * over(c.flexion, 55) +
             20 * over(c.twist, 75) * over(c.twist, 75) + 0.02 * psi * psi + 10 * (in * in + up * up) +
             1e5 * shortBy * shortBy;
    return c;
}

// Solves one arm (clavicle index c) so that its hand reaches 'at' with global orientation 'hand', with
// the elbow's swivel that keeps the wrist's swing and the forearm's twist least.
void solveArm(Pose& p, int c, double side, const Vec3& at, const Matrix4& hand) {
    Matrix4 g[RIG_BONES];
    Vec3 pos[RIG_BONES];
    globals(p, g, pos);
    ArmRest r = armRest(c, side);
    ArmChoice best = {};
    best.cost = 1e18;
    // The fist turned to meet the forearm; where that leaves the wrist out of reach, turned off it.
    // The swivel is a soft least of the cost over the turns of the elbow, so that it moves smoothly
    // from pose to pose where two swivels are nearly as good.
    double turn = 0;
    for (double t = 0; t <= 90; t += 10) {
        for (double sign : {1.0, -1.0}) {
            ArmChoice a = armAt(r, g[c], g[11], side, pos[c + 1], at, hand, 0, sign * t * PI / 180);
            if (best.cost > 1e17 || a.shortBy < best.shortBy) {
                best = a;
                turn = sign * t * PI / 180;
            }
            if (t == 0) break;
        }
        if (best.shortBy <= 0) break;
    }
    const int STEPS = 41;
    double cost[STEPS], least = 1e18;
    for (int k = 0; k < STEPS; ++k) {
        cost[k] = armAt(r, g[c], g[11], side, pos[c + 1], at, hand, -120 + 6 * k, turn).cost;
        least = std::fmin(least, cost[k]);
    }
    double sum = 0, psi = 0;
    for (int k = 0; k < STEPS; ++k) {
        double w = std::exp(-(cost[k] - least) / 150);
        sum += w;
        psi += w * (-120 + 6 * k);
    }
    best = armAt(r, g[c], g[11], side, pos[c + 1], at, hand, psi / sum, turn);
    p.local[c + 1] = best.upper;
    p.local[c + 2] = best.upperRoll;
    p.local[c + 3] = best.fore;
    p.local[c + 4] = best.foreRoll;
    p.local[c + 5] = best.wrist;
    p.local[c + 6] = best.grip;
}

Matrix4 rotZ(double degrees) {
    return axisAngle(Vec3(0, 0, 1), degrees * PI / 180);
}

Matrix4 rotX(double degrees) {
    return axisAngle(Vec3(1, 0, 0), degrees * PI / 180);
}
Matrix4 rotY(double degrees) {
    return axisAngle(Vec3(0, 1, 0), degrees * PI / 180);
}
double clampTo(double lo, double hi, double x) {
    return std::fmin(hi, std::fmax(lo, x));
}

// The clavicle (index c) swings its shoulder part of the way toward the hand's target: forward as the
// hand reaches forward, more so as the arm nears full stretch, up as the hand rises above the shoulder.
// The arm is solved afterwards from the moved shoulder.
void reachClavicle(Pose& p, int c, double side, const Vec3& at, double breath) {
    Matrix4 g[RIG_BONES];
    Vec3 pos[RIG_BONES];
    globals(p, g, pos);
    Matrix4 toChest = transposeMatrix(g[11]);
    Vec3 bone = apply(toChest, pos[c + 1] - pos[c]), want = apply(toChest, at - pos[c]);
    double arm = length(rigJoint[c + 3] - rigJoint[c + 1]) + length(rigJoint[c + 6] - rigJoint[c + 3]);
    double stretch = length(at - pos[c + 1]) / arm;
    double gain = 0.12 + 0.25 * clampTo(0, 1, (stretch - 0.55) / 0.4);
    const double DEG = 180 / PI;
    double yaw = std::atan2(want.z, side * want.x) - std::atan2(bone.z, side * bone.x);
    double pitch =
        std::atan2(want.y, std::hypot(want.x, want.z)) - std::atan2(bone.y, std::hypot(bone.x, bone.z));
    double forward = clampTo(-4, 16, gain * clampTo(-PI / 4, PI / 2, yaw) * DEG);
    double up = clampTo(-5, 14, (pitch > 0 ? 0.3 : gain) * pitch * DEG + 2.5 * breath);
    p.local[c] = rotY(-side * forward) * axisAngle(Vec3(0, 0, 1), side * up * PI / 180);
}

// The paddle's turn against the hand bone of 'side' (degrees about z), as the program draws it: the
// paddle's placement P is that hand's frame A times Rz(turn), so A = P * Rz(-turn).
double paddleTurn(int side) {
    return side == 1 ? PADDLE_GRIP_TURN : PADDLE_SIDE0_TURN + PADDLE_GRIP_TURN;
}

// Both hands take the paddle's frame as though each held it, whichever hand is the lower one.
// The twist winds the spine, upper spine and chest; the head turns toward the paddle's side as the
// blade reaches forward to the catch and otherwise follows part of the twist, the neck taking part of
// the turn, and holds up against part of the lean.
Pose solve(const Target& t, int paddleSide) {
    Pose p;
    Matrix4 lean = rotX(t.lean / 2);
    p.local[9] = rotY(0.4 * t.twist) * lean;
    p.local[10] = rotY(0.35 * t.twist) * lean;
    p.local[11] = rotY(0.25 * t.twist) * rotX(-1.5 * t.breath);
    double s = paddleSide == 1 ? 1 : -1;
    double toCatch = clampTo(0, 1, t.origin.z / 16) * clampTo(0, 1, (44 - t.origin.y) / 12);
    double look = s * 20 * toCatch + 0.45 * t.twist; // the face's turn toward +x, degrees
    // The face tips up to watch the paddle raised in front of it for the change of hands.
    double raised = clampTo(0, 1, (t.origin.y - 43) / 4) * clampTo(0, 1, t.origin.z / 15);
    double turn = look - t.twist, nod = -0.5 * t.lean - 16 * raised;
    p.local[12] = rotY(0.4 * turn) * rotX(0.4 * nod);
    p.local[13] = rotY(0.6 * turn) * rotX(0.6 * nod);
    p.local[14] = rotX(3 * t.breath);
    Matrix4 P = placement(t);
    Vec3 grip = t.origin + unitVector(t.shaft) * t.grip;
    Vec3 left = paddleSide == 1 ? t.origin : grip, right = paddleSide == 1 ? grip : t.origin;
    reachClavicle(p, 35, 1, left, t.breath);
    reachClavicle(p, 16, -1, right, t.breath);
    solveArm(p, 35, 1, left, P * rotZ(-paddleTurn(1)));
    solveArm(p, 16, -1, right, P * rotZ(-paddleTurn(0)));
    return p;
}

void toEuler(const Matrix4& r, DraftKey& k) {
    double s = std::fmax(-1.0, std::fmin(1.0, r.at(2, 0)));
    k.y = float(-std::asin(s));
    k.x = float(std::atan2(r.at(2, 1), r.at(2, 2)));
    k.z = float(std::atan2(r.at(1, 0), r.at(0, 0)));
}

bool isIdentity(const Matrix4& r) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (std::fabs(r.at(i, j) - (i == j ? 1 : 0)) > 1e-9) return false;
    return true;
}

struct Control {
    double at; // fraction of the clip
    Target target;
};

// The target at fraction f of a clip's control path.
Target targetAt(const std::vector<Control>& path, double f) {
    size_t i = 0;
    while (i + 2 < path.size() && f > path[i + 1].at)
        ++i;
    double span = path[i + 1].at - path[i].at;
    double local = span > 0 ? std::fmin(1, std::fmax(0, (f - path[i].at) / span)) : 1;
    return blendTargets(path[i].target, path[i + 1].target, local);
}

// The runtime's blend between two keys, the shorter slerp of their rotations, kept a rotation.
Matrix4 blendKeys(const Matrix4& from, const Matrix4& to, double t) {
    return quaternionToMatrix(slerpRenormalised(matrixToQuaternion(from), matrixToQuaternion(to), t));
}

// The free hand in the paddle's frame and the blade's tip, for a pose with the paddle in 'side's hand.
void paddleHands(const Pose& p, int side, Vec3& freeHand, Vec3& tip) {
    Matrix4 g[RIG_BONES];
    Vec3 pos[RIG_BONES];
    globals(p, g, pos);
    int hold = side == 1 ? RIG_LEFT_HAND : RIG_RIGHT_HAND, other = side == 1 ? RIG_RIGHT_HAND : RIG_LEFT_HAND;
    Matrix4 P = g[hold] * rotZ(paddleTurn(side));
    freeHand = apply(transposeMatrix(P), pos[other] - pos[hold]);
    tip = pos[hold] + apply(P, Vec3(0, 0, -28));
}

// The frames of a clip's keys: of all choices of 'keys' frames from the first to the last, the one whose
// worst drift between keys (the free hand off its place on the paddle, the blade's tip off its path, as
// the runtime's slerp plays the keys) is least.
std::vector<int> keyFrames(const std::vector<Control>& path, int side, int frames, int keys) {
    std::vector<Pose> exact;
    for (int f = 0; f <= frames; ++f)
        exact.push_back(solve(targetAt(path, double(f) / frames), side));
    std::vector<std::vector<double>> cost(frames + 1, std::vector<double>(frames + 1, 0));
    for (int a = 0; a < frames; ++a)
        for (int b = a + 1; b <= frames; ++b) {
            double worst = 0;
            for (double s : {0.25, 0.5, 0.75}) {
                Pose mid;
                for (int i = 0; i < RIG_BONES; ++i)
                    mid.local[i] = blendKeys(exact[a].local[i], exact[b].local[i], s);
                Pose want = solve(targetAt(path, (a + s * (b - a)) / frames), side);
                Vec3 h0, t0, h1, t1;
                paddleHands(mid, side, h0, t0);
                paddleHands(want, side, h1, t1);
                // Slipping along the shaft counts four times: for the top hand it is a slip off the grip.
                worst =
                    std::fmax(worst, length(h0 - h1) + 3 * std::fabs(h0.z - h1.z) + 0.5 * length(t0 - t1));
            }
            cost[a][b] = worst;
        }
    // best[k][f]: the least worst drift of k segments from frame 0 to frame f.
    const double NONE = 1e18;
    std::vector<std::vector<double>> best(keys, std::vector<double>(frames + 1, NONE));
    std::vector<std::vector<int>> from(keys, std::vector<int>(frames + 1, -1));
    best[0][0] = 0;
    for (int k = 1; k < keys; ++k)
        for (int f = k; f <= frames; ++f)
            for (int g = k - 1; g < f; ++g) {
                double c = std::fmax(best[k - 1][g], cost[g][f]);
                if (c < best[k][f]) {
                    best[k][f] = c;
                    from[k][f] = g;
                }
            }
    std::vector<int> out(keys, frames);
    for (int k = keys - 1; k > 0; --k)
        out[k - 1] = from[k][out[k]];
    return out;
}

// One clip: 'keys' poses of the control path at the frames keyFrames picks; bones that never turn get
// no keys.
void addClip(DraftModel& m, int clip, double seconds, const std::vector<Control>& path, int paddleSide,
             int keys) {
    int frames = int(std::lround(seconds * FPS));
    m.clips[clip] = DraftClip{"clip" + std::to_string(clip), float(FPS), frames};
    std::vector<int> at = keyFrames(path, paddleSide, frames, keys);
    std::vector<Pose> poses;
    for (int k = 0; k < keys; ++k)
        poses.push_back(solve(targetAt(path, double(at[k]) / frames), paddleSide));
    for (int b = 0; b < RIG_BONES; ++b) {
        std::vector<DraftKey>& track = m.nodes[b].tracks[clip];
        track.clear();
        bool moves = false;
        for (const Pose& p : poses)
            moves = moves || !isIdentity(p.local[b]);
        if (!moves) continue;
        for (int k = 0; k < keys; ++k) {
            DraftKey key;
            key.frame = at[k];
            toEuler(poses[k].local[b], key);
            track.push_back(key);
        }
    }
}

// Side 1's poses; side 0 uses their mirror images. The roll lifts side 1's blade and sinks side 0's
// by up to 5 units, so the blade goes deep in the power phase and stays well up in the air.
const Target READY = {Vec3(15, 42, 10), Vec3(-1, 0.3, 0.05), Vec3(0, 1, 0), 6, 0};
const Target READY_BREATH = {Vec3(15, 41.5, 10.4), Vec3(-1, 0.32, 0.07), Vec3(0, 1, 0), 8, -2, GRIP, 1};
const Target CATCH = {Vec3(16, 29, 16), Vec3(-0.35, 1, -0.05), Vec3(0, 0, 1), 12, -14};
const Target POWER_END = {Vec3(18, 29, -3), Vec3(-0.3, 1, 0.45), Vec3(0, 0, 1), 2, 8};
const Target EXIT = {Vec3(16, 44, -4), Vec3(-0.8, 0.6, 0.5), Vec3(1, 0, 0.3), 2, 8};
const Target RECOVERY = {Vec3(15, 45.5, 6), Vec3(-0.8, 0.5, 0.1), Vec3(1, 0, 0.3), 4, -6};
// The stern pry: the blade laid back toward the stern over the water, swung down edge first into the
// water beside the hull, face to it, levered out off the gunwale, and lifted out while still out from
// the hull by tipping the shaft over across the canoe; it goes back to the ready pose in the air. The
// wet blade only moves outward: sweeping in while wet would undo the turn. The odd figures keep the
// arms' solve smooth from pose to pose (no elbow flipping its swivel between frames), so that the keys
// follow the path closely.
const Target PRY_SET = {Vec3(15.6, 36.3, -7.7), Vec3(0.2, 1, 2.71), Vec3(1, 0, 0), 5, 23};
const Target PRY_IN = {Vec3(15, 28.9, -9), Vec3(-0.24, 1, 0.67), Vec3(1, 0, 0), -3, -11};
const Target PRY_OUT = {Vec3(15, 30, -6), Vec3(-0.55, 1, 0), Vec3(1, 0, 0), 2, 8};
const Target PRY_LIFT = {Vec3(16.4, 42.1, 1.3), Vec3(-1.62, 0.69, 0.39), Vec3(1, 0, 0.2), 3, 16};
// The draw-rudder behind the hip: drawn in face first, sliced back out edge on.
const Target HOLD_OUT = {Vec3(17, 29, -8), Vec3(-0.5, 1, 0), Vec3(1, 0, 0), 2, 10};
const Target HOLD_IN = {Vec3(17, 29, -8), Vec3(-0.15, 1, 0), Vec3(1, 0, 0), 2, 10};
const Target HOLD_IN_EDGE = {Vec3(17, 29, -8), Vec3(-0.15, 1, 0), Vec3(0, 0, 1), 2, 10};
const Target HOLD_OUT_EDGE = {Vec3(17, 29, -8), Vec3(-0.5, 1, 0), Vec3(0, 0, 1), 2, 10};
// The switch: the paddle raised in front of the face, blade up; both hands meet on it.
const Target SWITCH = {Vec3(0, 47, 15), Vec3(0, -1, 0.1), Vec3(-1, 0, 0), 6, 0, 0};

// A side's clips, played with the paddle in that side's hand; the change of hands goes up from the side's
// ready pose to the switch, and comes down from it into the side's ready pose.
void addSideClips(DraftModel& m, int side) {
    const SideClips& clip = SIDE_CLIPS[side];
    auto t = [side](const Target& x) { return side == 1 ? x : mirror(x); };
    addClip(m, clip.idle, 3.0, {{0, t(READY)}, {0.5, t(READY_BREATH)}, {1, t(READY)}}, side, 5);
    std::vector<Control> stroke = {{0, t(READY)},  {0.15, t(CATCH)},   {0.55, t(POWER_END)},
                                   {0.7, t(EXIT)}, {0.9, t(RECOVERY)}, {1, t(READY)}};
    addClip(m, clip.forward, 1.6, stroke, side, 20);
    std::vector<Control> back;
    for (auto it = stroke.rbegin(); it != stroke.rend(); ++it)
        back.push_back({1 - it->at, it->target});
    addClip(m, clip.backward, 1.6, back, side, 20);
    addClip(m, clip.turningStroke, 1.5,
            {{0, t(READY)},
             {0.21, t(PRY_SET)},
             {0.4, t(PRY_IN)},
             {0.7, t(PRY_OUT)},
             {0.87, t(PRY_LIFT)},
             {1, t(READY)}},
            side, 20);
    addClip(m, clip.holdEntry, 0.5, {{0, t(READY)}, {1, t(HOLD_OUT)}}, side, 8);
    addClip(m, clip.holdHeld, 1.2,
            {{0, t(HOLD_OUT)},
             {0.45, t(HOLD_IN)},
             {0.55, t(HOLD_IN_EDGE)},
             {0.9, t(HOLD_OUT_EDGE)},
             {1, t(HOLD_OUT)}},
            side, 13);
    addClip(m, clip.holdExit, 0.5, {{0, t(HOLD_OUT)}, {1, t(READY)}}, side, 8);
    addClip(m, clip.changeOut, 1.0, {{0, t(READY)}, {1, SWITCH}}, side, 11);
    addClip(m, clip.changeIn, 1.0, {{0, SWITCH}, {1, t(READY)}}, side, 11);
}

} // namespace

void buildPaddlerClips(DraftModel& m) {
    m.clips.assign(RIG_CLIPS, DraftClip());
    for (DraftNode& n : m.nodes)
        n.tracks.assign(RIG_CLIPS, std::vector<DraftKey>());
    addSideClips(m, 1);
    addSideClips(m, 0);
    // Numbers the strokes never ask for hold side 1's ready pose.
    for (int c = 0; c < RIG_CLIPS; ++c)
        if (m.clips[c].frameCount == 0)
            addClip(m, c, 3.0, {{0, READY}, {0.5, READY_BREATH}, {1, READY}}, 1, 5);
}
