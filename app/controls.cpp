// Key and mouse handlers; they only set state that the next frame reads.
#include "app/controls.h"

#include "app/counters.h"
#include "scene/view.h"
#include "paddler/strokes.h"

#include <GL/freeglut.h>
#include <cstdlib>

float lastMouseX = 0.0f, lastMouseY = 0.0f;

// Strokes by key: the clip and the hand it is played with. Letters are lower case only.
void keyPressed(unsigned char key) {
    switch (key) {
    case 27: // Esc
        std::exit(0);
    case ' ': // the idle clip of the hand that holds the paddle: never a change of hands
        requestStroke(strokeState.paddleSide == 1 ? 1 : 5, strokeState.paddleSide);
        break;
    case 'w':
        requestStroke(6, 0); // forward
        break;
    case 's':
        requestStroke(10, 0); // backward
        break;
    case 'a':
        requestStroke(14, 0); // turning stroke
        break;
    case 'd':
        requestStroke(11, 0); // turning hold
        break;
    case 'c':
        showCounters = -showCounters;
        break;
    default:
        break;
    }
}

void specialKeyPressed(int key) {
    switch (key) {
    case GLUT_KEY_UP:
        requestStroke(0, 1); // forward
        break;
    case GLUT_KEY_DOWN:
        requestStroke(4, 1); // backward
        break;
    case GLUT_KEY_LEFT:
        requestStroke(7, 1); // turning hold
        break;
    case GLUT_KEY_RIGHT:
        requestStroke(3, 1); // turning stroke
        break;
    default:
        break;
    }
}

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
    if (cameraPitch < -PITCH_HIGHEST) cameraPitch = PITCH_LOWEST;
    if (cameraPitch > PITCH_HIGHEST) cameraPitch = PITCH_HIGHEST;
    cameraHeading = cameraHeading + (x - lastMouseX) / 8;
    lastMouseY = static_cast<float>(y);
    lastMouseX = static_cast<float>(x);
}

void mouseDrag(int x, int y) {
    turnView(x, y);
    glutPostRedisplay();
}
