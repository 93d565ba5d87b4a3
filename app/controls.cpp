// Key and mouse handlers; they only set state that the next frame reads.
#include "app/controls.h"

#include "app/counters.h"
#include "scene/view.h"
#include "paddler/strokes.h"

#include <GL/freeglut.h>
#include <cstdlib>

float lastMouseX = 0.0f, lastMouseY = 0.0f;

// Strokes by key: the letters ask for the right hand's strokes (side 0), the arrows for the left hand's
// (side 1). A turning stroke turns the bow toward the paddle's side, a hold away from it, so each turning
// key pairs one side's stroke with the other side's hold. Letters are lower case only.
void keyPressed(unsigned char key) {
    const SideClips& right = SIDE_CLIPS[0];
    switch (key) {
    case 27: // Esc
        std::exit(0);
    case ' ': // the idle clip of the hand that holds the paddle: never a change of hands
        requestStroke(SIDE_CLIPS[strokeState.paddleSide].idle, strokeState.paddleSide);
        break;
    case 'w':
        requestStroke(right.forward, 0);
        break;
    case 's':
        requestStroke(right.backward, 0);
        break;
    case 'a':
        requestStroke(right.turningStroke, 0);
        break;
    case 'd':
        requestStroke(right.holdEntry, 0);
        break;
    case 'c':
        showCounters = -showCounters;
        break;
    default:
        break;
    }
}

void specialKeyPressed(int key) {
    const SideClips& left = SIDE_CLIPS[1];
    switch (key) {
    case GLUT_KEY_UP:
        requestStroke(left.forward, 1);
        break;
    case GLUT_KEY_DOWN:
        requestStroke(left.backward, 1);
        break;
    case GLUT_KEY_LEFT:
        requestStroke(left.holdEntry, 1);
        break;
    case GLUT_KEY_RIGHT:
        requestStroke(left.turningStroke, 1);
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
