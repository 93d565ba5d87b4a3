// The generated paddler's skeleton and its rest joints. The hands' rest positions are the ones the
// paddle drawing takes out of the hand frames; the rest frames are pure translations. The fingers hang
// from the wrist, curled round the shaft where it runs through the grip point along the hand's z.
#include "assets/paddler_rig.h"

#include <cmath>

Vec3 rigJoint[RIG_BONES];
int rigParent[RIG_BONES];
const char* rigName[RIG_BONES] = {
    "hips",       "thigh_r",    "shin_r",     "foot_r",     "toes_r",     "thigh_l",   "shin_l",
    "foot_l",     "toes_l",     "spine",      "spine_up",   "chest",      "neck",      "head",
    "jaw",        "hair",       "clavicle_r", "upperarm_r", "uproll_r",   "forearm_r", "foreroll_r",
    "wrist_r",    "hand_r",     "thumb1_r",   "thumb2_r",   "thumb3_r",   "index1_r",  "index2_r",
    "index3_r",   "middle1_r",  "middle2_r",  "middle3_r",  "ring1_r",    "ring2_r",   "ring3_r",
    "clavicle_l", "upperarm_l", "uproll_l",   "forearm_l",  "foreroll_l", "wrist_l",   "hand_l",
    "thumb1_l",   "thumb2_l",   "thumb3_l",   "index1_l",   "index2_l",   "index3_l",  "middle1_l",
    "middle2_l",  "middle3_l",  "ring1_l",    "ring2_l",    "ring3_l"};

namespace {

const double PI = 3.14159265358979323846;
Vec3 restHandAxis[2];

void set(int i, int parent, double x, double y, double z) {
    rigParent[i] = parent;
    rigJoint[i] = Vec3(x, y, z);
}

// One arm: side +1 left (+x), -1 right; 'first' is the clavicle's index, first + 6 the hand.
void buildArm(int first, double side, const Vec3& hand) {
    Vec3 shoulder(8.5 * side, 53, -1);
    set(first, 11, 2.0 * side, 52.5, -0.5);
    set(first + 1, first, shoulder.x, shoulder.y, shoulder.z);
    // Elbow bent back and a little out, so that the two segments (14.5 and 13.5 long) reach the hand,
    // long enough for the top hand to hold the grip with the lower hand down at the water.
    const double upper = 14.5, lower = 13.5;
    Vec3 d = hand - shoulder;
    double dist = length(d);
    Vec3 dn = d * (1 / dist);
    Vec3 pole(0.3 * side, -0.3, -1);
    Vec3 p = unitVector(pole - dn * dot(pole, dn));
    double ca = (upper * upper + dist * dist - lower * lower) / (2 * upper * dist);
    Vec3 elbow = shoulder + (dn * ca + p * std::sqrt(1 - ca * ca)) * upper;
    Vec3 mid = shoulder + (elbow - shoulder) * 0.5;
    set(first + 2, first + 1, mid.x, mid.y, mid.z);
    set(first + 3, first + 2, elbow.x, elbow.y, elbow.z);
    // The wrist sits behind the fist, straight across the shaft (the hand's z) from the grip point. Its
    // turn about the shaft at rest keeps the reach of a straight wrist: elbow to wrist and wrist to
    // shaft as long as the forearm was when it ran to the grip point.
    Vec3 v = hand - elbow;
    double forearm = lower - RIG_WRIST_TO_SHAFT;
    double c = (dot(v, v) + RIG_WRIST_TO_SHAFT * RIG_WRIST_TO_SHAFT - forearm * forearm) /
               (2 * RIG_WRIST_TO_SHAFT * std::hypot(v.x, v.y));
    double turn = std::atan2(v.y, v.x) + side * std::acos(std::fmax(-1.0, std::fmin(1.0, c)));
    Vec3 axis(std::cos(turn), std::sin(turn), 0);
    restHandAxis[side > 0 ? 1 : 0] = axis;
    Vec3 wrist = hand + axis * -RIG_WRIST_TO_SHAFT;
    Vec3 roll = elbow + (wrist - elbow) * 0.5;
    set(first + 4, first + 3, roll.x, roll.y, roll.z);
    set(first + 5, first + 4, wrist.x, wrist.y, wrist.z);
    set(first + 6, first + 5, hand.x, hand.y, hand.z);
    // The thumb and the index, middle and ring fingers, children of the wrist (the fist's frame), curled
    // round the shaft; the little finger's tube rides on the ring finger's bones.
    for (int g = 0; g < 4; ++g) {
        Vec3 at[4];
        fingerJoints(side, hand, g, at);
        for (int s = 0; s < 3; ++s) {
            int i = first + 7 + g * 3 + s;
            set(i, s == 0 ? first + 5 : i - 1, at[s].x, at[s].y, at[s].z);
        }
    }
}

} // namespace

Vec3 handAxis(double side) {
    return restHandAxis[side > 0 ? 1 : 0];
}

Vec3 handPalm(double side) {
    return cross(handAxis(side), Vec3(0, 0, 1)) * side;
}

Vec3 fistPoint(double side, const Vec3& hand, double degrees, double radius, double along) {
    double a = degrees * PI / 180;
    return hand + Vec3(0, 0, along) + (handAxis(side) * std::cos(a) + handPalm(side) * std::sin(a)) * radius;
}

void fingerJoints(double side, const Vec3& hand, int finger, Vec3 at[4]) {
    if (finger == 0) {
        // The thumb from the ball of the palm, round the back of the shaft, its tip beside the index.
        at[0] = fistPoint(side, hand, 213, 1.75, 0.6);
        at[1] = fistPoint(side, hand, 198, 1.08, 1.0);
        at[2] = fistPoint(side, hand, 150, 1.08, 1.05);
        at[3] = fistPoint(side, hand, 112, 1.08, 0.85);
        return;
    }
    // Index, middle, ring, little: knuckle, two finger joints and the tip on a circle round the shaft.
    const double along[5] = {0, 0.9, 0.3, -0.3, -0.9}, scale[5] = {0, 1, 1.04, 0.96, 0.78};
    const double step[3] = {69.7, 47.8, 38.9};
    double a = -65;
    for (int k = 0; k < 4; ++k) {
        at[k] = fistPoint(side, hand, a, 1.05, along[finger]);
        if (k < 3) a += step[k] * scale[finger];
    }
}

void buildRigJoints() {
    set(0, -1, 0, 26, -2);
    for (int leg = 0; leg < 2; ++leg) {
        double side = leg == 0 ? -1 : 1;
        int b = 1 + 4 * leg;
        set(b, 0, 5 * side, 25, -2);
        set(b + 1, b, 6 * side, 19.5, 12);
        set(b + 2, b + 1, 6 * side, 18, -7);
        set(b + 3, b + 2, 6 * side, 17.3, -11);
    }
    set(9, 0, 0, 29, -2);
    set(10, 9, 0, 36, -1.5);
    set(11, 10, 0, 44, -1);
    set(12, 11, 0, 54, -0.5);
    set(13, 12, 0, 57, 0);
    set(14, 13, 0, 57.5, 2.5);
    set(15, 13, 0, 64, -1);
    buildArm(16, -1, Vec3(PADDLE_GRIP_X[0], PADDLE_GRIP_Y, PADDLE_GRIP_Z));
    buildArm(35, 1, Vec3(PADDLE_GRIP_X[1], PADDLE_GRIP_Y, PADDLE_GRIP_Z));
}

void buildRigNodes(DraftModel& model) {
    model.nodes.assign(RIG_BONES, DraftNode());
    for (int i = 0; i < RIG_BONES; ++i) {
        DraftNode& n = model.nodes[i];
        n.name = rigName[i];
        Vec3 t = rigParent[i] < 0 ? rigJoint[i] : rigJoint[i] - rigJoint[rigParent[i]];
        for (int k = 0; k < 16; ++k)
            n.rest[k] = (k % 5 == 0) ? 1.0f : 0.0f;
        n.rest[12] = float(t.x);
        n.rest[13] = float(t.y);
        n.rest[14] = float(t.z);
        if (rigParent[i] >= 0) model.nodes[rigParent[i]].children.push_back(i);
    }
}
