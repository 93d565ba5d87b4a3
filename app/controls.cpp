// Key and mouse handlers; they only set state that the next frame reads.
#include "app/controls.h"

#include "app/counters.h"
#include "app/view.h"

#include <GL/freeglut.h>
#include <cstdlib>

float lastMouseX = 0.0f, lastMouseY = 0.0f;

void keyPressed(unsigned char key) {
    switch (key) {
    case 27: // Esc
        std::exit(0);
    case 'c':
        showCounters = -showCounters;
        break;
    default:
        break;
    }
}

void specialKeyPressed(int) {}

void mouseButton(int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON) return;
    if (state == GLUT_DOWN) {
        lastMouseX = static_cast<float>(x);
        lastMouseY = static_cast<float>(y);
        glutPostRedisplay();
    } else if (state == GLUT_UP) {
        glutPostRedisplay();
    }
}

void turnView(int x, int y) {
    // Eight pixels of travel turn the view one degree; down raises the pitch, right the heading.
    cameraPitch = cameraPitch + (y - lastMouseY) / 8;
    // Just short of -90 on the side of 0, so the view never looks straight down.
    if (cameraPitch < -90) cameraPitch = -89.99999237060547f;
    if (cameraPitch > 90) cameraPitch = 90;
    cameraHeading = cameraHeading + (x - lastMouseX) / 8;
    lastMouseY = static_cast<float>(y);
    lastMouseX = static_cast<float>(x);
}

void mouseDrag(int x, int y) {
    turnView(x, y);
    glutPostRedisplay();
}
