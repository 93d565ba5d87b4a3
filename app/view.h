// View state: where the viewer looks from, the ground cone that culls water tiles, and the fixed
// model-view sequence under which the canoe, the paddler and the hull mask are drawn.
#pragma once

#include "base/vecmath.h"

extern float cameraHeading;    // degrees about the vertical axis; never wrapped (40 at start)
extern float cameraPitch;      // degrees, held within [-90, 90] by the mouse drag
extern double camX, camY;      // the viewer's fixed place on the water, in ocean units
extern float viewConeApex[2];  // apex of the culling cone, 132 units behind the viewer
extern float viewConeEdgeA[2]; // unit vector at (135 - heading) degrees
extern float viewConeEdgeB[2]; // unit vector at (45 - heading) degrees
extern Matrix4 sceneMatrix;    // the canoe's placement on the water, moved by the strokes
extern Matrix4 canoeModelView; // the model-view matrix the canoe was drawn under in this frame

// Recomputes the three cone values from cameraHeading, camX and camY.
void computeViewCone();

// Vertical field of view in degrees for a fixed 90-degree horizontal one.
float verticalFieldOfView(float aspect);

// Multiplies the current model-view matrix by the view sequence ending in sceneMatrix.
void viewTransform();
