// The hull mask's per-frame stencil pass.
#include "water/hull_mask.h"

#include "scene/view.h"

#include <GL/gl.h>

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
