// View state, the culling cone and the shared view transform.
#include "app/view.h"

#include <GL/gl.h>
#include <cmath>

float cameraHeading = 40.0f;
float cameraPitch = 0.0f;
double camX = 127.0, camY = 127.0;
float viewConeApex[2] = {0, 0};
float viewConeEdgeA[2] = {0, 0};
float viewConeEdgeB[2] = {0, 0};
Matrix4 sceneMatrix;
Matrix4 canoeModelView;

void computeViewCone() {
    const float toRadians = 0.017453293f;
    float a = 90.0f - cameraHeading;
    viewConeApex[0] = static_cast<float>(camX - 132.0 * std::cos(a * toRadians));
    viewConeApex[1] = static_cast<float>(camY - 132.0 * std::sin(a * toRadians));
    viewConeEdgeA[0] = std::cos((135.0f - cameraHeading) * toRadians);
    viewConeEdgeA[1] = std::sin((135.0f - cameraHeading) * toRadians);
    viewConeEdgeB[0] = std::cos((45.0f - cameraHeading) * toRadians);
    viewConeEdgeB[1] = std::sin((45.0f - cameraHeading) * toRadians);
}

float verticalFieldOfView(float aspect) {
    // t = tan(45 degrees) * near; 114.59... is 360 / pi.
    double t = std::tan(45.0 * DEGREES_TO_RADIANS) * 1.0;
    return static_cast<float>(std::atan((t / aspect) / 1.0) * 114.59155587429832);
}

void viewTransform() {
    glRotatef(cameraPitch, 1, 0, 0);
    glRotatef(cameraHeading, 0, 1, 0);
    glTranslatef(0, -10, -450);
    glTranslatef(0, 0, 50);
    glRotatef(-45, 0, 1, 0);
    glMultMatrixd(sceneMatrix.m);
}
