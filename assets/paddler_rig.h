// The generated paddler's rig: 54 bones in pre-order with rest joint positions (a kneeling figure,
// facing +z, left = +x), and the clip table posed by targets and solved arms.
#pragma once

#include "assets/model_writer.h"
#include "base/vecmath.h"
#include "paddler/grip.h"

const int RIG_BONES = 54;
const int RIG_CLIPS = 27;
const int RIG_RIGHT_HAND = PADDLE_BONE_SIDE0, RIG_LEFT_HAND = PADDLE_BONE_SIDE1;

// Global rest position of each bone's joint, its parent (-1 for the root) and its name.
extern Vec3 rigJoint[RIG_BONES];
extern int rigParent[RIG_BONES];
extern const char* rigName[RIG_BONES];

// The fist (side +1 left, -1 right) in its rest frame, the hand's z along the shaft through the grip
// point: the neutral axis from the wrist toward the shaft, across it; the palm's normal (the palm lies
// on the other side of the shaft); a point at 'degrees' round the shaft from the axis toward the palm's
// normal, 'radius' off it and 'along' the shaft from the grip point 'hand'; the joints of finger 0
// (thumb), 1 to 3 (index, middle, ring) or 4 (little), the last of the four its tip. The wrist lies
// RIG_WRIST_TO_SHAFT back along the neutral axis.
Vec3 handAxis(double side);
Vec3 handPalm(double side);
Vec3 fistPoint(double side, const Vec3& hand, double degrees, double radius, double along);
void fingerJoints(double side, const Vec3& hand, int finger, Vec3 at[4]);
const double RIG_WRIST_TO_SHAFT = 2.1;

// Fills rigJoint (once; the arms' elbows are solved from the fixed hand positions).
void buildRigJoints();
// The skeleton as draft nodes (pure-translation rest matrices) with one key track per clip.
void buildRigNodes(DraftModel& model);

// The skinned mesh of the figure (tubes and boxes bound to their bones) with its materials and
// textures, and the paddle's mesh (shaft along +z to the grip, blade toward -z) on its one bone.
void buildPaddlerMesh(DraftModel& model);
void buildPaddleModel(DraftModel& model);
// The 27 clips: ready poses, strokes, holds and changes of hands, as keys on every moving bone.
void buildPaddlerClips(DraftModel& model);
// The TGA and BMP images the two models name.
bool writePaddlerTextures(const std::string& folder);
