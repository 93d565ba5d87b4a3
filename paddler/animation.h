// Keyframe animation of the paddler: one clip at a time for the whole body, a shared clip clock, key
// rotations slerped as quaternions, and the per-frame walk that rebuilds every bone's matrices.
#pragma once

#include "base/quaternion.h"
#include "base/vecmath.h"
#include "paddler/model_file.h"

#include <cstdint>

struct ClipClock {
    double clipStartTime = 0; // wall-clock seconds when the current clip started
    double clipElapsed = 0;   // seconds since then, sampled once per frame by the root
    double clipDuration = 0;
    bool clipEnded = false;
};

extern ClipClock clipClock;
extern bool animationOn;         // off: every bone keeps its rest transform
extern int32_t paddlerClipCount; // copied from the paddler model at start-up
extern AnimationClip* paddlerClips;

// What the animation calls out to; the program keeps the defaults (wall clock, stroke machine), tests
// put their own clock and observers in.
struct AnimationHooks {
    double (*now)();
    void (*moveCanoe)(int clip);
    void (*chooseNextClip)();
};
extern AnimationHooks animationHooks;

// Switches the animation on with the clip duration of the current clip.
void startAnimation();
// Starts 'clip' afresh with the paddle in hand 'side', as though no clip had played before: a fresh
// stroke state and clip clock, every bone's key index back to the clip's first key.
void startClipAfresh(int clip, int side);
// One frame: boneVisitCounter = 0 and the hierarchy walk from the first bone's node.
void poseSkeleton();

void updateHierarchy(SkeletonNode* node);
void updateBoneKeyframes(SkeletonNode* node, int boneIndex);

// Rz * Ry * Rx of the key's angles, built with the degree-based rotation builders.
Matrix4 keyPoseMatrix(const RotationKey& key);
