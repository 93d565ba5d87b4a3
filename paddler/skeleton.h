// The paddler's skeleton flattened into an array of bones in depth-first pre-order (root = bone 0):
// rest, animated and skinning matrices per bone, and the animation's per-bone clip progress.
#pragma once

#include "base/vecmath.h"
#include "paddler/model_file.h"

#include <cstdint>

struct Bone {
    SkeletonNode* node = nullptr; // its key tracks drive the animation
    int32_t parentIndex = -1;     // none for the root
    double keyTimes[MAX_TRACK_KEYS] = {0};
    int32_t currentKey = 0;
    Matrix4 restLocal, restGlobal, animLocal, animGlobal, skinMatrix, inverseRestGlobal;
    int32_t clipState = -1; // 1 while the current clip runs for this bone
};

extern Bone* bones;
extern int32_t boneCount;
extern int32_t boneVisitCounter; // running pre-order index of the walks

// Adds one to boneCount per node under 'node'.
void countBones(const SkeletonNode* node);
// Fills bone boneVisitCounter and its subtree from the node (the caller resets the counter).
void initBones(SkeletonNode* node);
// Builds the bone array from the model's first root: count, allocate, fill. Replaces an earlier array.
void setupSkeleton(SkeletonNode* root);
