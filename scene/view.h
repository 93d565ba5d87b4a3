// View state that every part of the frame reads: where the viewer looks from, the ground cone that
// culls water tiles, the canoe's placement, and the fixed view matrix under which the canoe, the
// paddler and the hull mask are drawn.
#pragma once

#include "base/vecmath.h"

extern float cameraHeading;    // degrees about the vertical axis; never wrapped (40 at start)
extern float cameraPitch;      // degrees, held within [-90, 90] by the mouse drag
extern double camX, camY;      // the viewer's fixed place on the water, in ocean units
extern float viewConeApex[2];  // apex of the culling cone, 132 units behind the viewer
extern float viewConeEdgeA[2]; // unit vector at (135 - heading) degrees
extern float viewConeEdgeB[2]; // unit vector at (45 - heading) degrees
extern Matrix4 canoeModelView; // this frame's model-view matrix of the canoe, its paddler and hull mask

// Recomputes the three cone values from cameraHeading, camX and camY.
void computeViewCone();

// Vertical field of view in degrees for a fixed 90-degree horizontal one.
float verticalFieldOfView(float aspect);

// The view pitch is held within these limits; the lower one is the single-precision value next to -90
// on the side of 0, so the view never looks straight down.
const float PITCH_HIGHEST = 90.0f;
const float PITCH_LOWEST = -89.99999237060547f;

// The viewer's eye relative to the canoe's resting place: 450 units away and 10 above it, then 50
// units nearer; the canoe's frame is turned by -45 degrees about the vertical.
const double VIEW_DISTANCE = 450.0, VIEW_NEARER = 50.0, VIEW_HEIGHT = 10.0, VIEW_CANOE_TURN = -45.0;

// The view transform: pitch, heading, the camera offsets, the canoe's fixed turn. The canoe's placement
// on the water follows it.
Matrix4 viewMatrix();
// Sets canoeModelView for this frame: the view, then 'placement' (the canoe on the water, rocking).
void placeCanoeInView(const Matrix4& placement);

// The water is drawn in water space: x and y along the sea, z up, the level sea at z = 0. Under the view's
// pitch and heading it is stood upright and set off by the viewer's place and its lift.
const int WATER_LIFT = 120; // the water's lift along its local y axis
Matrix4 waterUnderView();
// Canoe space (y up, the water line at y = -5) to water space, for the canoe's 'placement' on the water.
Matrix4 canoeToWater(const Matrix4& placement);
