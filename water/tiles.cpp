// Water tiles and culling: the float matrix of the water transform, the cone test, and the
// immediate-mode drawing of every kept tile as 64 strips through the water shader.
#include "water/tiles.h"

#include "base/vecmath.h"
#include "ocean/surface.h"
#include "platform/textures.h"
#include "scene/counts.h"
#include "scene/view.h"
#include "water/normal_map_texture.h"
#include "water/cube_maps.h"
#include "water/water_shader.h"
#include "water/wave_field_texture.h"

#include <GL/gl.h>

float waterModelToWorld[16];

void buildWaterModelToWorld(float* m) {
    identityMatrixf(m);
    rotateMatrixf(m, -90, 0);
    setTranslationf(m, 0, WATER_LIFT, 0);
}

bool tileInViewCone(int tx, int ty, const float apex[2], const float edgeA[2], const float edgeB[2]) {
    float dx = static_cast<float>(TILE_SIZE * tx + 64) - apex[0];
    float dy = static_cast<float>(TILE_SIZE * ty + 64) - apex[1];
    float sA = edgeA[0] * dy - dx * edgeA[1];
    float sB = edgeB[0] * dy - dx * edgeB[1];
    float pA = edgeA[0] * dx + dy * edgeA[1];
    float pB = edgeB[0] * dx + dy * edgeB[1];
    return sA * sB <= 0 && pA >= 0 && pB >= 0;
}

// The viewer's lattice tile: the division truncates toward zero.
static int viewerTile(double position) {
    return static_cast<int>(position / 128.0);
}

int countVisibleTiles(double x, double y, const float apex[2], const float edgeA[2], const float edgeB[2]) {
    int cx = viewerTile(x), cy = viewerTile(y), count = 0;
    for (int tx = cx - 4; tx <= cx + 3; ++tx)
        for (int ty = cy - 4; ty <= cy + 3; ++ty)
            if (tileInViewCone(tx, ty, apex, edgeA, edgeB)) ++count;
    return count;
}

static void drawTile(int tx, int ty) {
    // Sums in double, as the grid is held: the seam row of one tile and the first row of the next
    // then round to the same float.
    double offsetX = TILE_SIZE * tx, offsetY = TILE_SIZE * ty;
    for (int i = 0; i < OCEAN_N; ++i) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int j = 0; j <= OCEAN_N; ++j)
            for (int row = i; row <= i + 1; ++row) {
                const Vec3& v = drawVertices[row][j];
                const Vec3& n = drawNormals[row][j];
                glTexCoord2f(row / 64.0f * 4, j / 64.0f * 4);
                glNormal3d(n.x, n.y, n.z);
                glVertex3f(static_cast<float>(offsetX + v.x), static_cast<float>(offsetY + v.y),
                           static_cast<float>(HEIGHT_SCALE * v.z));
            }
        glEnd();
    }
}

void drawWater() {
    uploadNormalMap(); // this tick's normals
    uploadWaveField();
    tileCount = 0;
    glPushMatrix();
    // The shader's matrix holds only the turn and the lift; the viewer's place stays in GL's matrix.
    buildWaterModelToWorld(waterModelToWorld);
    enableCubeMapping();
    glBindTexture(GL_TEXTURE_CUBE_MAP, environmentCubeTexture);
    clampCubeMapToEdge();

    glRotatef(-90, 1, 0, 0);
    glRotatef(cameraPitch, 1, 0, 0);
    glRotatef(cameraHeading, 0, 0, 1);
    glTranslated(-camX, -camY - 127.0, -15.0);
    glTranslatef(0, WATER_LIFT, 0);
    glPushMatrix();

    int cx = viewerTile(camX), cy = viewerTile(camY);
    bindWaterShader();
    for (int tx = cx - 4; tx <= cx + 3; ++tx)
        for (int ty = cy - 4; ty <= cy + 3; ++ty)
            if (tileInViewCone(tx, ty, viewConeApex, viewConeEdgeA, viewConeEdgeB)) {
                ++tileCount;
                drawTile(tx, ty);
            }
    unbindWaterShader();

    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    disableCubeMapping();
    glPopMatrix();
}
