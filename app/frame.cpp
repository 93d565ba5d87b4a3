// The per-frame callbacks: update then draw the scene, keep the 90-degree perspective, step the ocean.
#include "app/frame.h"

#include "app/counters.h"
#include "app/stroke_sounds.h"
#include "scene/clock.h"
#include "scene/view.h"
#include "ocean/surface.h"
#include "canoe/canoe_drawing.h"
#include "paddler/frame_update.h"
#include "paddler/paddler_drawing.h"
#include "water/hull_mask.h"
#include "water/sky.h"
#include "water/tiles.h"
#include "water/water_shader.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>

// The canoe, then the paddler kneeling in it; leaves the model-view matrix as it found it.
bool paddlerShown = true;

static void noFrameSection(FrameSection) {}
void (*frameSectionDone)(FrameSection section) = noFrameSection;

static void drawCanoeAndPaddler() {
    glPushMatrix();
    drawCanoe();
    frameSectionDone(FRAME_CANOE);
    if (paddlerShown) drawPaddler();
    frameSectionDone(FRAME_PADDLER);
    glPopMatrix();
}

void displayFrame() {
    updateFrame(wallClockSeconds());
    updateStrokeSounds();
    frameSectionDone(FRAME_UPDATE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    frameSectionDone(FRAME_CLEAR);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLineWidth(6);
    glDisable(GL_LIGHTING);
    waterEyePosition[0] = static_cast<float>(camX);
    computeViewCone();
    drawCanoeAndPaddler();
    drawSky();
    frameSectionDone(FRAME_SKY);
    // The hull mask into the stencil buffer; the water only where it is clear.
    drawHullMask();
    frameSectionDone(FRAME_HULL_MASK);
    glStencilFunc(GL_NOTEQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glTranslatef(0, 0, -10);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    drawWater();
    frameSectionDone(FRAME_WATER);
    glDisable(GL_STENCIL_TEST);
    if (showCounters == -1) drawCounters();
    glutSwapBuffers();
    frameSectionDone(FRAME_SWAP);
}

void reshapeWindow(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    float aspect = static_cast<float>(width) / static_cast<float>(height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(verticalFieldOfView(aspect), aspect, 1.0, 2500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void idleStep() {
    // A refused displacement transform leaves nothing sound to draw.
    OceanTick tick = stepOcean();
    if (tick != OCEAN_TICK_DONE) {
        std::printf(tick == OCEAN_X_REFUSED ? "false on DXFFT\n" : "false on DYFFT\n");
        std::exit(0);
    }
    glutPostRedisplay();
}
