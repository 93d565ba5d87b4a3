// One frame of the paddler without the window: from this frame's pose and skinned vertices, the paddle
// in the hand that holds it and then the body, handed as every matrix, material, texture, alpha-test
// switch and triangle, in drawing order, to a renderer. The program's renderer is OpenGL; tests record
// what they are given.
#pragma once

#include "base/vecmath.h"

#include <cstdint>

struct SkinVertex;
struct TriangleDrawRecord;

struct PaddlerRenderer {
    void (*loadMatrix)(const Matrix4& modelView);
    void (*setMaterial)(const TriangleDrawRecord& colours); // diffuse, shininess, ambient, specular
    void (*setTexture)(bool enabled, uint32_t textureId);
    void (*setAlphaTest)(bool enabled); // texels of alpha 0.5 or less are dropped while on
    // Texture coordinates, normals and positions of the three corners: rest data (drawn under a bone's
    // or the paddle's matrix) or this frame's skinned data (drawn under the placement alone).
    void (*triangle)(const SkinVertex* const corners[3], bool skinned);
    void (*finish)(); // the frame's last triangle has been handed over
};

extern int32_t lastMaterialGroup; // material of the previous paddler triangle; -1 at each frame's start

// The frame under 'placement', the model-view matrix of the paddler's seat for this frame. Changes none
// of the frame's state.
void drawPaddlerFrame(const Matrix4& placement, const PaddlerRenderer& renderer);
