// The OpenGL side of the paddler's frame. Triangles go out in runs inside one glBegin / glEnd pair, which
// is closed before every matrix, material, texture or alpha-test change (none of those may stand inside).
#include "paddler/paddler_drawing.h"

#include "scene/view.h"
#include "paddler/model_tables.h"
#include "paddler/paddler_frame.h"
#include "paddler/placement.h"

#include <GL/gl.h>

namespace {

bool trianglesOpen = false;

void closeTriangles() {
    if (!trianglesOpen) return;
    glEnd();
    trianglesOpen = false;
}

void loadMatrix(const Matrix4& m) {
    closeTriangles();
    glLoadMatrixd(m.m);
}

void setMaterial(const TriangleDrawRecord& r) {
    closeTriangles();
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, r.diffuse);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, r.shininess);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, r.ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, r.specular);
}

void setTexture(bool enabled, uint32_t textureId) {
    closeTriangles();
    if (enabled) {
        glBindTexture(GL_TEXTURE_2D, textureId);
        glEnable(GL_TEXTURE_2D);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
}

void setAlphaTest(bool enabled) {
    closeTriangles();
    if (enabled) {
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.5f);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
}

void triangle(const SkinVertex* const corners[3], bool skinned) {
    if (!trianglesOpen) {
        glBegin(GL_TRIANGLES);
        trianglesOpen = true;
    }
    for (int k = 0; k < 3; ++k) {
        const SkinVertex& v = *corners[k];
        const Vec3& n = skinned ? v.skinnedNormal : v.restNormal;
        const Vec3& p = skinned ? v.skinnedPosition : v.restPosition;
        glTexCoord2f(v.texU, v.texV);
        glNormal3f(float(n.x), float(n.y), float(n.z));
        glVertex3f(float(p.x), float(p.y), float(p.z));
    }
}

void finish() {
    closeTriangles();
    glDisable(GL_TEXTURE_2D);
}

const PaddlerRenderer glRenderer = {loadMatrix, setMaterial, setTexture, setAlphaTest, triangle, finish};

} // namespace

void drawPaddler() {
    // The canoe's placement and rocking of this frame, then the seat.
    drawPaddlerFrame(canoeModelView * paddlerSeatMatrix(), glRenderer);
}
