// canoe: start-up order. Data files are read before the window opens; everything that needs the GL
// context is built in initScene; then GLUT runs the frame loop until Esc.
#include "app/controls.h"
#include "app/frame.h"
#include "canoe/shape_file.h"
#include "canoe/stroke_samples.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

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

    // Canoe shape files, then the stroke sample file, all before the window exists.
    std::ifstream shapeFileStream;
    for (int i = 0; i <= canoeShapeCount; i++) {
        std::string name = shapeFileNames[i];
        shapeFileStream.open(name);
        if (shapeFileStream.fail()) {
            std::printf("typo. try again\n\n");
            shapeFileStream.clear();
            std::exit(1);
        }
        // A damaged file has been named by the reader; drawing it would read past its tables.
        if (!readShapeFile(shapeFileStream, i)) std::exit(1);
        shapeFileStream.close();
        shapeFileStream.clear();
    }
    std::ifstream strokeFileStream("fstroke.stroke");
    readStrokeFile(strokeFileStream); // a missing or unusable file holds the canoe level
    strokeFileStream.close();
    strokeFileStream.clear();

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
