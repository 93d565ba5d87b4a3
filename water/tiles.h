// The sea around the viewer: the simulated patch repeated as 128-unit tiles over an 8 x 8 block,
// culled against the ground view cone and drawn through the water shader.
#pragma once

#include "scene/view.h"

const int TILE_SIZE = 128; // one ocean patch

// Row-major (element [r][c] at 4r + c), handed to the shader as "modelToWorld".
extern float waterModelToWorld[16];

// Sets m to the water's model-to-world matrix: the -90 degree turn about x and the lift.
void buildWaterModelToWorld(float* m);

// Whether the centre of lattice tile (tx, ty) lies inside the cone given by its apex and edges.
bool tileInViewCone(int tx, int ty, const float apex[2], const float edgeA[2], const float edgeB[2]);
// Tiles of the 8 x 8 block around (x, y) that pass the cone; no GL.
int countVisibleTiles(double x, double y, const float apex[2], const float edgeA[2], const float edgeB[2]);

// Draws the sea for the current frame and counts the tiles drawn in tileCount.
void drawWater();
