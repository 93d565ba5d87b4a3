// The sky: a textured hemisphere of 8 rings around the viewer, drawn every frame behind the scene.
#pragma once

const float SKY_RADIUS = 1000.0f;
const int SKY_RINGS = 8;        // ring 0 is the pole, ring 7 the horizon
const int SKY_RING_POINTS = 31; // points 0 and 30 coincide

extern float skyDome[SKY_RINGS][SKY_RING_POINTS][3];
extern unsigned int skyTexture; // from "cloudy1.jpg"

// Fills 'dome' with the ring points of a hemisphere of the given radius, z up.
void buildSkyDome(float radius, float dome[SKY_RINGS][SKY_RING_POINTS][3]);
// Draws the dome around the viewer; leaves lighting disabled and 2-D texturing enabled.
void drawSky();
