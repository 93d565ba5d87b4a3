// Keyframe animation of the paddler: one clip at a time for the whole body, a clip clock in the scene's
// seconds, key rotations slerped as quaternions, and the flat walk over the bones that poses them.
#pragma once

#include "base/quaternion.h"
#include "base/vecmath.h"
#include "paddler/model_file.h"

#include <cstdint>

struct ClipClock {
    double clipStartTime = 0; // the scene's time when the current clip started
    double clipElapsed = 0;   // seconds since then, at this frame; within [0, clipDuration]
    double clipDuration = 0;
};

extern ClipClock clipClock;
extern bool animationOn;         // off: every bone keeps its rest transform
extern int32_t paddlerClipCount; // copied from the paddler model at start-up
extern AnimationClip* paddlerClips;

// frameCount / framesPerSecond of 'clip', in seconds (the loader refused clips without a length).
double clipDurationOf(int clip);
// Starts the current clip (strokeState.currentClip) at the scene's time 'start': the clock, and every
// bone's key times for it. The last key lands on the clip's end whatever its frame number.
void startClip(double start);
// Where the current clip stands: 'seconds' since its start.
void setClipElapsed(double seconds);
// Switches the animation on with the current clip starting at time 0.
void startAnimation();
// Starts 'clip' afresh with the paddle in hand 'side', as though no clip had played before: a fresh
// stroke state and the clip at time 0. Tests and the contact sheet then set clipClock.clipElapsed.
void startClipAfresh(int clip, int side);

// Poses every bone at clipClock.clipElapsed: a flat loop over the pre-order, each bone's key step and
// then its animated and skinning matrices from its parent's.
void updateHierarchy();
// Bone i's animLocal: its rest transform times the rotation its track gives at clipClock.clipElapsed.
void updateBoneKeyframes(int i);

// Rz * Ry * Rx of the key's angles, built with the degree-based rotation builders.
Matrix4 keyPoseMatrix(const RotationKey& key);
