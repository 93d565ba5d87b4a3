// canoe_closeup: the README's close-up of the canoe, drawn by the program's own start-up and frame with
// the canoe brought near and rolled toward the viewer, seen from a little above, the paddler left out.
// Run it in the run folder under a display; scripts/canoe-closeup takes the picture.
#include "app/frame.h"
#include "app/scene.h"
#include "canoe/rocking.h"
#include "paddler/strokes.h"
#include "scene/view.h"

#include <GL/freeglut.h>

int main(int argc, char** argv) {
    readCanoeFiles();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowSize(800, 576);
    glutCreateWindow("canoe closeup");
    initScene();
    paddlerShown = false;
    rockMode = 0;
    // 300 units nearer along the line of sight, turned 60 degrees, rolled 35 degrees so that the inside
    // shows; the view pitched down 12 degrees onto it.
    sceneMatrix =
        rotationY(45) * translationMatrix(20, -6, 300) * rotationY(-60) * rotationZ(-35) * rotationY(-45);
    cameraHeading = 0;
    cameraPitch = 12;
    glutReshapeFunc(reshapeWindow);
    glutDisplayFunc(displayFrame);
    glutIdleFunc(idleStep);
    glutMainLoop();
    return 0;
}
