// Bone array construction: counting and filling the pre-order walk of the paddler's first root.
#include "paddler/skeleton.h"

Bone* bones = nullptr;
int32_t boneCount = 0;

namespace {

int countBones(const SkeletonNode* node) {
    int n = 1;
    for (int i = 0; i < node->childCount; ++i)
        n += countBones(&node->children[i]);
    return n;
}

// Fills bone 'next' and its subtree from the node; returns the index after the subtree.
int fillBones(SkeletonNode* node, int next, int parent) {
    int i = next++;
    Bone& bone = bones[i];
    for (int k = 0; k < 16; ++k)
        bone.restLocal.m[k] = node->restMatrix[k];
    bone.node = node;
    bone.parentIndex = parent;
    bone.restGlobal = parent < 0 ? bone.restLocal : bones[parent].restGlobal * bone.restLocal;
    bone.inverseRestGlobal = invertMatrix(bone.restGlobal);
    bone.animLocal = bone.restLocal;
    bone.animGlobal = bone.restGlobal;
    for (int c = 0; c < node->childCount; ++c)
        next = fillBones(&node->children[c], next, i);
    return next;
}

} // namespace

void setupSkeleton(SkeletonNode* root) {
    delete[] bones;
    boneCount = countBones(root);
    bones = new Bone[boneCount];
    fillBones(root, 0, -1);
}
