// Bone array construction: counting and filling the pre-order walk of the paddler's first root.
#include "paddler/skeleton.h"

Bone* bones = nullptr;
int32_t boneCount = 0;
int32_t boneVisitCounter = 0;

void countBones(const SkeletonNode* node) {
    ++boneCount;
    for (int i = 0; i < node->childCount; ++i)
        countBones(&node->children[i]);
}

void initBones(SkeletonNode* node) {
    int i = boneVisitCounter++;
    Bone& bone = bones[i];
    for (int k = 0; k < 16; ++k)
        bone.restLocal.m[k] = node->restMatrix[k];
    bone.clipState = -1;
    bone.node = node;
    // Ids were checked against the pre-order numbering by the loader, so id - 1 is the child's index.
    for (int c = 0; c < node->childCount; ++c) {
        bones[node->children[c].id - 1].parentIndex = i;
        initBones(&node->children[c]);
    }
}

void setupSkeleton(SkeletonNode* root) {
    delete[] bones;
    boneCount = 0;
    countBones(root);
    bones = new Bone[boneCount];
    boneVisitCounter = 0;
    initBones(root);
}
