// Skin vertices: each mesh vertex bound once to one, two or three bones; the list of vertices that
// need blending every frame; the per-face flags that let runs of rigid faces share one bone matrix.
#pragma once

#include "base/vecmath.h"
#include "paddler/model_file.h"

#include <cstdint>

struct ModelTables;
struct Bone;

struct SkinVertex {
    Vec3 restPosition, restNormal;
    Vec3 skinnedPosition, skinnedNormal; // rewritten every frame
    float texU = 0, texV = 0;
    uint32_t weighted = 0;    // 1 once bound
    uint32_t bindingType = 0; // number of bones that move it: 1, 2 or 3
    double boneWeight[3] = {0, 0, 0};
    uint32_t boneId[3] = {0, 0, 0}; // 1-based
};

const int BLEND_LIST_CAPACITY = 10000;

// Paddler vertices with two or three bones, in binding order.
struct BlendList {
    int32_t count = 0;
    int32_t vertex[BLEND_LIST_CAPACITY];
};
extern BlendList blendList;

// The paddler's binding of one vertex from its stored weights and bone ids (exact comparisons with
// 1.0; weights as stored). A vertex that names no usable bone is bound rigidly to its first bone, or
// to the root when that is 0.
void bindPaddlerVertex(const MeshVertex& vertex, SkinVertex& skin);

// Corner walk of the paddler: texture coordinates and normals per vertex, binding at first use,
// blended vertices appended to 'list'.
void weightPaddlerSkin(ModelTables& tables, BlendList& list);
// The same walk for the paddle, single-bone only; other vertices print the bad weighting line.
void weightPaddleSkin(ModelTables& tables);
// Sets rigid and reloadMatrix on every paddler face.
void markFaceBindings(ModelTables& tables);

// Blends position and normal of every listed vertex with the bones' skinning matrices.
void skinVertices(SkinVertex* skin, const BlendList& list, const Bone* bones);
// The single-bone product for one vertex.
void skinRigidVertex(SkinVertex& vertex, const Bone* bones);
// This frame's skinned data of a model: the listed blended vertices, then the single-bone corners of the
// faces drawn from skinned data (those not marked rigid).
void skinModel(ModelTables& tables, const BlendList& list, const Bone* bones);
