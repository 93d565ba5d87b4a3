// The paddler's skeleton flattened into an array of bones in depth-first pre-order (root = bone 0, a
// parent before its children): rest matrices fixed at load, and this frame's animated and skinning
// matrices with the animation's per-bone key times.
#pragma once

#include "base/vecmath.h"
#include "paddler/model_file.h"

#include <cstdint>

struct Bone {
    SkeletonNode* node = nullptr; // its key tracks drive the animation
    int32_t parentIndex = -1;     // none for the root; always below the bone's own index
    double keyTimes[MAX_TRACK_KEYS] = {0};
    int32_t currentKey = 0;                           // the key segment last played
    Matrix4 restLocal, restGlobal, inverseRestGlobal; // fixed at load
    Matrix4 animLocal, animGlobal, skinMatrix;        // this frame's pose
};

extern Bone* bones;
extern int32_t boneCount;

// Builds the bone array from the model's first root: count, allocate, fill in pre-order, and the rest
// matrices with their inverses. Replaces an earlier array.
void setupSkeleton(SkeletonNode* root);
