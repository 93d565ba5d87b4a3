// canoe: start-up order. Data files are read before the window opens; everything that needs the GL
// context is built in initScene; then GLUT runs the frame loop until Esc.
#include "app/controls.h"
#include "app/frame.h"
#include "app/scene.h"
#include "paddler/strokes.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstring>

static const char helpText[] =
    "canoe: a paddler kneels in a birch-bark canoe on an FFT ocean; the strokes move and turn the canoe.\n"
    "\n"
    "Controls (the paddler's left side faces you at the start):\n"
    "  w / up arrow         forward stroke, paddling on the right / on the left\n"
    "  s / down arrow       backward stroke, on the right / on the left\n"
    "  d / right arrow      turn the bow to the paddler's left: a hold on the right / a stroke on the left\n"
    "  a / left arrow       turn the bow to the paddler's right: a stroke on the right / a hold on the left\n"
    "  space                rest, with the hand that holds the paddle\n"
    "  c                    show or hide the frame rate and the water tiles drawn\n"
    "  drag the mouse       look around\n"
    "  Esc                  quit\n"
    "A stroke on the side the paddle is not on makes the paddler change hands first; keys pressed before\n"
    "the asked-for stroke has started are ignored.\n"
    "\n"
    "It reads from the working folder: the canoe's sixteen .shad shapes, fstroke.stroke, gunwale.mask,\n"
    "K.man (the paddler), K.pad (the paddle), the BMP, TGA and JPEG textures they name, the sounds\n"
    "loon5.wav, splash.wav, blade.wav and drips.wav, and the water's shaders v.cg and f.cg.\n"
    "Any other argument goes to GLUT (for example -display :1).\n";

// True when the command line asks for the help text instead of the scene.
static bool wantsHelp(int argc, char** argv) {
    for (int i = 1; i < argc; i++)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    return false;
}

static void keyboardAdapter(unsigned char key, int, int) {
    keyPressed(key);
}
static void specialKeyAdapter(int key, int, int) {
    specialKeyPressed(key);
}

int main(int argc, char** argv) {
    // Line-buffered even into a pipe, so that a log shows every message as it happens.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (wantsHelp(argc, argv)) {
        std::fputs(helpText, stdout);
        return 0;
    }
    std::printf("program is loading.. \n");

    // Canoe shape files, then the stroke sample file, all before the window exists.
    readCanoeFiles();

    glutInit(&argc, argv); // freeglut ends the process with exit() on a fatal error
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(1280, 1024);
    glutCreateWindow(argv[0]);
    glutFullScreen();
    glutSetCursor(GLUT_CURSOR_NONE);

    initScene();
    strokeRedisplay = glutPostRedisplay; // a stroke key asks for the next frame at once

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
