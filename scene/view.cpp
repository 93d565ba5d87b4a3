// View state, the culling cone and the view matrix.
#include "scene/view.h"

#include <cmath>

float cameraHeading = 40.0f;
float cameraPitch = 0.0f;
double camX = 127.0, camY = 127.0;
float viewConeApex[2] = {0, 0};
float viewConeEdgeA[2] = {0, 0};
float viewConeEdgeB[2] = {0, 0};
Matrix4 canoeModelView;

void computeViewCone() {
    float a = 90.0f - cameraHeading;
    viewConeApex[0] = static_cast<float>(camX - 132.0 * std::cos(a * DEGREES_TO_RADIANS_F));
    viewConeApex[1] = static_cast<float>(camY - 132.0 * std::sin(a * DEGREES_TO_RADIANS_F));
    viewConeEdgeA[0] = std::cos((135.0f - cameraHeading) * DEGREES_TO_RADIANS_F);
    viewConeEdgeA[1] = std::sin((135.0f - cameraHeading) * DEGREES_TO_RADIANS_F);
    viewConeEdgeB[0] = std::cos((45.0f - cameraHeading) * DEGREES_TO_RADIANS_F);
    viewConeEdgeB[1] = std::sin((45.0f - cameraHeading) * DEGREES_TO_RADIANS_F);
}

float verticalFieldOfView(float aspect) {
    // t = tan(45 degrees) * near; 114.59... is 360 / pi.
    double t = std::tan(45.0 * DEGREES_TO_RADIANS) * 1.0;
    return static_cast<float>(std::atan((t / aspect) / 1.0) * 114.59155587429832);
}

Matrix4 viewMatrix() {
    // The rotations act after the offsets, so they turn the view about the viewer's own position.
    return rotationX(cameraPitch) * rotationY(cameraHeading) *
           translationMatrix(0, -VIEW_HEIGHT, -VIEW_DISTANCE) * translationMatrix(0, 0, VIEW_NEARER) *
           rotationY(VIEW_CANOE_TURN);
}

void placeCanoeInView(const Matrix4& placement) {
    canoeModelView = viewMatrix() * placement;
}

Matrix4 waterUnderView() {
    return rotationX(-90) * translationMatrix(-camX, -camY - 127.0 + WATER_LIFT, -15.0);
}

Matrix4 canoeToWater(const Matrix4& placement) {
    // The view's pitch and heading turn the water and the canoe alike; what is left of the view below
    // them relates the two.
    return invertMatrix(waterUnderView()) * translationMatrix(0, -VIEW_HEIGHT, -VIEW_DISTANCE) *
           translationMatrix(0, 0, VIEW_NEARER) * rotationY(VIEW_CANOE_TURN) * placement;
}
