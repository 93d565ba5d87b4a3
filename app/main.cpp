// canoe: start-up order. Data files are read before the window opens; everything that needs the GL
// context is built in initScene; then GLUT runs the frame loop until Esc.
#include "app/controls.h"
#include "app/frame.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>

static void keyboardAdapter(unsigned char key, int, int) {
    keyPressed(key);
}
static void specialKeyAdapter(int key, int, int) {
    specialKeyPressed(key);
}

int main(int argc, char** argv) {
    // Line-buffered even into a pipe, so that a log shows every message as it happens.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("program is loading.. \n");

    // (canoe shape files, then the stroke sample file)

    glutInit(&argc, argv); // freeglut ends the process with exit() on a fatal error
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(1280, 1024);
    glutCreateWindow(argv[0]);
    glutFullScreen();
    glutSetCursor(GLUT_CURSOR_NONE);

    initScene();

    glutReshapeFunc(reshapeWindow);
    glutKeyboardFunc(keyboardAdapter);
    glutSpecialFunc(specialKeyAdapter);
    glutMouseFunc(mouseButton);
    glutMotionFunc(mouseDrag);
    glutIdleFunc(idleStep);
    glutDisplayFunc(displayFrame);
    glutMainLoop();
    return 0;
}
