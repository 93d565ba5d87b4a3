// Frame-rate and tile counters, drawn as bitmap text over the scene.
#include "app/counters.h"

#include "scene/clock.h"
#include "scene/counts.h"

#include <GL/freeglut.h>
#include <cstdio>

int frameCounter = 0;
int shownFps = 0;
double lastFpsTime = 0.0;
int showCounters = 1;

// Long enough for the most negative int followed by the tiles text.
static char counterText[32];
static float savedModelView[16];

void countFrame(double now) {
    frameCounter = frameCounter + 1;
    // The figure is the frames of the last interval of at least a second, not divided by its length.
    if (now - lastFpsTime >= 1.0) {
        lastFpsTime = now;
        shownFps = frameCounter;
        frameCounter = 0;
    }
}

void drawCounters() {
    countFrame(wallClockSeconds());
    std::snprintf(counterText, sizeof counterText, "%i        fps", shownFps);
    drawText(15, 75, counterText);
    std::snprintf(counterText, sizeof counterText, "%i        tiles", tileCount);
    drawText(15, 55, counterText);
}

// One pass of characters starting at (x, y); line ends restart 18 pixels lower.
static void drawTextPass(int x, int y, const char* text) {
    int lines = 0;
    glRasterPos2i(x, y);
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\n') {
            ++lines;
            glRasterPos2i(x, y - 18 * lines);
        }
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *c);
    }
}

void drawText(int x, int y, const char* text) {
    glGetFloatv(GL_MODELVIEW_MATRIX, savedModelView);
    glDisable(GL_DEPTH_TEST);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, glutGet(GLUT_WINDOW_WIDTH), 0, glutGet(GLUT_WINDOW_HEIGHT), -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glColor3ub(0, 0, 0);
    drawTextPass(x + 1, y - 1, text);
    glColor3ub(255, 255, 255);
    drawTextPass(x, y, text);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();

    glEnable(GL_DEPTH_TEST);
    glLoadMatrixf(savedModelView);
    glColor3f(1, 1, 1);
}
