// The canoe's drawing: under this frame's canoe matrix (the view, the placement, the rocking), each shape
// with its material list, texture and coordinate rule, in immediate mode.
#include "canoe/canoe_drawing.h"

#include "scene/view.h"

#include <GL/gl.h>

const CanoeShapeStyle canoeShapeStyles[15] = {
    {false, false, -1, 1, false}, // 0 outer hull
    {false, false, -1, 2, false}, // 1 gunwales
    {false, false, -1, 3, false}, // 2 bow and stern line: spruce root
    {false, false, -1, 2, false}, // 3 bump
    {false, true, 4, 2, true},    // 4 inner hull, birch
    {false, false, -1, 2, false}, // 5 seats
    {false, false, -1, 2, false}, // 6 bow and stern line again
    {false, true, 7, 3, true},    // 7 ribs, spruce
    {true, true, 7, 3, false},    // 8 rib ends, spruce with generated coordinates
    {false, true, 9, 3, false},   // 9 seat nets (drawSeatNets)
    {true, true, 10, 5, false},   // 10 tump line, leather with generated coordinates
    {false, false, -1, 6, false}, // 11 axe head
    {false, false, -1, 3, false}, // 12 axe handle
    {false, false, -1, 4, false}, // 13 axe string
    {false, false, -1, 4, false}, // 14 cups
};

static void drawShapeFaces(const ShapeFile& shape, bool withTexCoords) {
    // The reader guarantees every index lies within the counts.
    for (int i = 0; i < shape.faceCount; i++) {
        const int32_t* f = shape.faces[i];
        glBegin(GL_TRIANGLES);
        for (int c = 0; c < 3; c++) {
            int v = f[3 * c], n = f[3 * c + 2];
            if (withTexCoords) glTexCoord2fv(shape.texCoords[v]);
            glNormal3fv(shape.normals[n]);
            glVertex3fv(shape.vertices[v]);
        }
        glEnd();
    }
}

void drawSeatNets() {
    const ShapeFile& nets = canoeShapes[SEAT_NET_SHAPE];
    // Fewer than the two quads' 8 vertices and normals: nothing to draw (the reader has said so).
    if (nets.vertexCount < 8 || nets.normalCount < 8) return;
    static const float quadCoords[2][4][2] = {{{0, 0}, {0, 1}, {1, 1}, {1, 0}},
                                              {{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_EQUAL, 1.0f);
    for (int q = 0; q < 2; q++) {
        glBegin(GL_QUADS);
        for (int c = 0; c < 4; c++) {
            int k = 4 * q + c;
            glTexCoord2fv(quadCoords[q][c]);
            glNormal3fv(nets.normals[k]);
            // Raised a little above the seat frame so the net does not fight it in depth.
            glVertex3f(nets.vertices[k][0], nets.vertices[k][1] + 0.1f, nets.vertices[k][2]);
        }
        glEnd();
    }
    glDisable(GL_ALPHA_TEST);
}

void drawCanoe() {
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glLoadMatrixd(canoeModelView.m);
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    for (int k = 0; k < canoeShapeCount; k++) {
        const CanoeShapeStyle& style = canoeShapeStyles[k];
        if (style.generateCoords) {
            glEnable(GL_TEXTURE_GEN_S);
            glEnable(GL_TEXTURE_GEN_T);
        } else {
            glDisable(GL_TEXTURE_GEN_S);
            glDisable(GL_TEXTURE_GEN_T);
        }
        if (style.textured)
            glEnable(GL_TEXTURE_2D);
        else
            glDisable(GL_TEXTURE_2D);
        if (style.textureShape >= 0) glBindTexture(GL_TEXTURE_2D, canoeShapes[style.textureShape].texture);
        glCallList(style.materialList);
        if (k == SEAT_NET_SHAPE)
            drawSeatNets();
        else
            drawShapeFaces(canoeShapes[k], style.withTexCoords);
    }
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_2D);
}
