// Hull mask: reading "gunwale.mask" and the per-frame stencil pass.
#include "water/hull_mask.h"

#include "scene/view.h"
#include "base/tokens.h"

#include <GL/gl.h>
#include <cstdio>
#include <string>

GunwaleMaskPoints gunwaleMask;

static bool readPoints(std::istream& in, float (*points)[3], int& read) {
    std::string word;
    for (int i = 0; i < GUNWALE_POINTS; i++)
        for (int c = 0; c < 3; c++) {
            if (!(in >> word)) return false;
            points[i][c] = static_cast<float>(tokenToDouble(word));
            read++;
        }
    return true;
}

bool readGunwaleMask(std::istream& in) {
    int read = 0;
    if (readPoints(in, gunwaleMask.a, read) && readPoints(in, gunwaleMask.b, read)) return true;
    std::printf("gunwale.mask: only %d of %d numbers\n", read, 6 * GUNWALE_POINTS);
    return false;
}

void drawHullMask() {
    glClearStencil(0);
    glEnable(GL_STENCIL_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
    // Every covered pixel gets 1, in front of or behind whatever is already drawn.
    glStencilFunc(GL_ALWAYS, 1, 1);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    glPushMatrix();
    // The matrix the canoe was drawn under in this frame, rocking included: the strokes have moved the
    // canoe since, and the mask must cover the hull where it stands on screen, not where it will be.
    glLoadMatrixd(canoeModelView.m);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < GUNWALE_POINTS; i++) {
        glVertex3fv(gunwaleMask.a[i]);
        glVertex3fv(gunwaleMask.b[i]);
    }
    glEnd();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPopMatrix();
}
