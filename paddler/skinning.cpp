// Skin binding at start-up and the per-frame blending of the paddler's multi-bone vertices.
#include "paddler/skinning.h"

#include "paddler/model_tables.h"
#include "paddler/skeleton.h"

#include <iostream>

BlendList blendList;

namespace {

void bindOne(SkinVertex& s, uint32_t bone) {
    s.bindingType = 1;
    s.boneWeight[0] = 1.0;
    s.boneId[0] = bone;
}

// Steps 1 to 3 of the corner walk: per-vertex texture coordinates and normal from the corner; true
// when the vertex is met for the first time and must be bound now.
bool takeCorner(ModelTables& t, const MeshFace& f, int k, SkinVertex*& s, int& v) {
    v = f.vertexIndex[k];
    s = &t.skin[v];
    s->texU = f.cornerUV[2 * k];
    s->texV = f.cornerUV[2 * k + 1];
    s->restNormal = Vec3(f.cornerNormal[3 * k], f.cornerNormal[3 * k + 1], f.cornerNormal[3 * k + 2]);
    if (s->weighted == 1) return false;
    s->weighted = 1;
    return true;
}

} // namespace

void bindPaddlerVertex(const MeshVertex& mv, SkinVertex& s) {
    const float* w = mv.weight;
    const uint8_t* b = mv.bone;
    if (w[0] == 1.0f) {
        bindOne(s, b[0]);
    } else if (w[1] == 1.0f) {
        bindOne(s, b[1]);
    } else if (w[2] == 1.0f) {
        bindOne(s, b[2]);
    } else if (b[2] == 0 && b[1] != 0) {
        s.bindingType = 2;
        s.boneWeight[0] = w[0];
        s.boneWeight[1] = w[1];
        s.boneId[0] = b[0];
        s.boneId[1] = b[1];
    } else if (b[2] != 0) {
        s.bindingType = 3;
        for (int j = 0; j < 3; ++j) {
            s.boneWeight[j] = w[j];
            s.boneId[j] = b[j];
        }
    } else {
        // No weight of 1.0 and no second bone: drawing would use the first bone's id anyway, so bind
        // to it outright (the root when there is none) instead of leaving an unset id behind.
        bindOne(s, b[0] != 0 ? b[0] : 1);
    }
}

void weightPaddlerSkin(ModelTables& t, BlendList& list) {
    list.count = 0;
    for (int i = 0; i < t.faceCount; ++i) {
        for (int k = 0; k < 3; ++k) {
            SkinVertex* s;
            int v;
            if (!takeCorner(t, t.model.faces[i], k, s, v)) continue;
            bindPaddlerVertex(t.model.vertices[v], *s);
            // The loader refused models with more blended vertices than the list holds.
            if (s->bindingType >= 2 && list.count < BLEND_LIST_CAPACITY) list.vertex[list.count++] = v;
        }
    }
}

void weightPaddleSkin(ModelTables& t) {
    for (int i = 0; i < t.faceCount; ++i) {
        for (int k = 0; k < 3; ++k) {
            SkinVertex* s;
            int v;
            if (!takeCorner(t, t.model.faces[i], k, s, v)) continue;
            const MeshVertex& mv = t.model.vertices[v];
            if (mv.weight[0] == 1.0f)
                bindOne(*s, mv.bone[0]);
            else
                std::cout << "bad texture weighting for paddle   =   " << mv.weight[0] << std::endl;
        }
    }
}

void markFaceBindings(ModelTables& t) {
    long previous[3] = {-1, -1, -1};
    for (int i = 0; i < t.faceCount; ++i) {
        TriangleDrawRecord& r = t.records[i];
        const SkinVertex* c[3];
        for (int k = 0; k < 3; ++k)
            c[k] = &t.skin[t.model.faces[i].vertexIndex[k]];
        long ids[3] = {c[0]->boneId[0], c[1]->boneId[0], c[2]->boneId[0]};
        bool single = c[0]->bindingType == 1 && c[1]->bindingType == 1 && c[2]->bindingType == 1;
        if (ids[0] == previous[0] && ids[1] == previous[1] && ids[2] == previous[2] && single) {
            r.reloadMatrix = 0;
        } else {
            r.reloadMatrix = 1;
            for (int k = 0; k < 3; ++k)
                previous[k] = ids[k];
        }
        r.rigid = (single && ids[0] == ids[1] && ids[1] == ids[2]) ? 1 : 0;
    }
}

void skinVertices(SkinVertex* skin, const BlendList& list, const Bone* bones) {
    for (int i = 0; i < list.count; ++i) {
        SkinVertex& s = skin[list.vertex[i]];
        int n = s.bindingType == 3 ? 3 : s.bindingType == 2 ? 2 : 0;
        Vec3 position, normal;
        for (int j = 0; j < n; ++j) {
            const Matrix4& m = bones[s.boneId[j] - 1].skinMatrix;
            Vec3 p = s.restPosition, d = s.restNormal;
            m.transformPoint(p);
            m.transformDirection(d);
            position = position + p * s.boneWeight[j];
            normal = normal + d * s.boneWeight[j];
        }
        if (n == 0) continue;
        s.skinnedPosition = position;
        s.skinnedNormal = normal;
    }
}

void skinRigidVertex(SkinVertex& s, const Bone* bones) {
    const Matrix4& m = bones[s.boneId[0] - 1].skinMatrix;
    s.skinnedPosition = s.restPosition;
    s.skinnedNormal = s.restNormal;
    m.transformPoint(s.skinnedPosition);
    m.transformDirection(s.skinnedNormal);
}

void skinModel(ModelTables& tables, const BlendList& list, const Bone* bones) {
    skinVertices(tables.skin, list, bones);
    for (int t = 0; t < tables.faceCount; ++t) {
        const TriangleDrawRecord& r = tables.records[t];
        if (r.rigid) continue;
        for (int k = 0; k < 3; ++k) {
            SkinVertex& corner = tables.skin[r.vertex[k]];
            if (corner.bindingType != 2 && corner.bindingType != 3) skinRigidVertex(corner, bones);
        }
    }
}
