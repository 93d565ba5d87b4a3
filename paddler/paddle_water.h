// How the paddle and the hull stir the local wave field, one fixed step at a time: the blade where it is
// under the water line pushes the water by its speed through it (a splash as it enters, a trailing swirl as
// it pulls, a steady stir when held as a rudder), and the moving hull raises a bow wave and draws the water
// down at its stern. What the blade did is kept for the stroke's sounds.
#pragma once

#include "base/vecmath.h"

// The blade in paddle space, along the shaft (z): from the throat to the tip.
const double BLADE_THROAT_Z = -8, BLADE_TIP_Z = -28;
const int BLADE_SAMPLES = 5;
const double WATER_LINE_Y = -5; // in canoe space, the rocking included

// The blade's doings since the last frame, for the sounds.
struct BladeWater {
    int catches = 0;       // entries into the water
    double catchSpeed = 0; // the last entry's speed through the water, units a second
    bool wet = false;      // in the water now
    double wetSpeed = 0;   // its speed through the water now
    double sinceOut = 1e9; // seconds since it last left the water
    Vec3 bladeInCanoe;     // the blade's middle, in canoe space with the rocking
};
extern BladeWater bladeWater;

// Forgets where the blade and the hull were (at start-up): the next step only notes where they are.
void resetPaddleWater();
// Clears what the last frame's sounds have been told (the catches).
void startPaddleWaterFrame();
// One step of WAVE_STEP seconds at this moment's pose, paddle side, rocking and canoe placement: the
// field follows the canoe, takes the blade's and the hull's pushes, and steps.
void stirWater();
