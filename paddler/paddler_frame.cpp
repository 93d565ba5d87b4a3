// The paddler's per-frame drawing order: paddle first, then the change of hands, then the body's
// triangles, switching matrix and material only where they change.
#include "paddler/paddler_frame.h"

#include "paddler/model_tables.h"
#include "paddler/placement.h"
#include "paddler/skeleton.h"
#include "paddler/skinning.h"
#include "paddler/strokes.h"

#include <cstring>

int32_t lastMaterialGroup = -1;

namespace {

bool sameColours(const TriangleDrawRecord& a, const TriangleDrawRecord& b) {
    return std::memcmp(a.diffuse, b.diffuse, sizeof a.diffuse) == 0 &&
           std::memcmp(a.ambient, b.ambient, sizeof a.ambient) == 0 &&
           std::memcmp(a.specular, b.specular, sizeof a.specular) == 0 && a.shininess == b.shininess;
}

void cornersOf(const ModelTables& t, const TriangleDrawRecord& r, const SkinVertex* corners[3]) {
    for (int k = 0; k < 3; ++k)
        corners[k] = &t.skin[r.vertex[k]];
}

// The paddle, rigid in the holding hand's animated frame, with the paddle's one texture.
void drawPaddle(const Matrix4& placement, const PaddlerRenderer& out) {
    if (paddle.faceCount == 0) return;
    out.loadMatrix(placement * paddlePlacement(strokeState.paddleSide, bones));
    out.setTexture(true, paddle.slots[0].textureId);
    const TriangleDrawRecord* previous = nullptr;
    for (int t = 0; t < paddle.faceCount; ++t) {
        const TriangleDrawRecord& r = paddle.records[t];
        if (!previous || !sameColours(*previous, r)) out.setMaterial(r);
        previous = &r;
        const SkinVertex* corners[3];
        cornersOf(paddle, r, corners);
        out.triangle(corners, false);
    }
}

// The body. A rigid triangle is drawn from rest data under the placement times its bone's skinning
// matrix, loaded at the first triangle of a run on one bone; every other triangle is drawn from this
// frame's skinned data under the placement alone.
void drawBody(const Matrix4& placement, const PaddlerRenderer& out) {
    lastMaterialGroup = -1;
    bool previousRigid = false, placementLoaded = false, alphaTest = false;
    for (int t = 0; t < paddler.faceCount; ++t) {
        const TriangleDrawRecord& r = paddler.records[t];
        if (r.alphaTested != alphaTest) {
            alphaTest = r.alphaTested;
            out.setAlphaTest(alphaTest);
        }
        // The group is the face's material; its colours stand in the record of the group's first face.
        int group = paddler.model.faces[t].materialIndex;
        if (group != lastMaterialGroup) {
            lastMaterialGroup = group;
            out.setMaterial(r);
            out.setTexture(r.hasTexture != 0, r.textureId);
        }
        const SkinVertex* corners[3];
        cornersOf(paddler, r, corners);
        if (r.rigid) {
            // After a skinned triangle the placement alone is loaded, whatever the reload flag says.
            if (r.reloadMatrix || !previousRigid) {
                out.loadMatrix(placement * bones[corners[0]->boneId[0] - 1].skinMatrix);
                placementLoaded = false;
            }
            out.triangle(corners, false);
        } else {
            if (!placementLoaded) out.loadMatrix(placement);
            placementLoaded = true;
            out.triangle(corners, true);
        }
        previousRigid = r.rigid != 0;
    }
    if (alphaTest) out.setAlphaTest(false);
}

} // namespace

void drawPaddlerFrame(const Matrix4& placement, const PaddlerRenderer& out) {
    drawPaddle(placement, out);
    drawBody(placement, out);
    out.finish();
}
