// Builders of the canoe's sixteen shapes (the boat in canoe_shapes.cpp, its gear in canoe_gear.cpp).
#pragma once

#include "assets/canoe_mesh.h"

ShapeMesh makeOuterHull();
ShapeMesh makeInnerHull();
ShapeMesh makeGunwales();
ShapeMesh makeStemLines();
ShapeMesh makeDecks();
ShapeMesh makeSeats();
ShapeMesh makeSeatNets();
ShapeMesh makeRibs();
ShapeMesh makeRibEnds();
ShapeMesh makeTumpLine();
ShapeMesh makeAxeHead();
ShapeMesh makeAxeHandle();
ShapeMesh makeAxeString();
ShapeMesh makeCups();
ShapeMesh makePaddle();

// Height of the top of the ribs at (x, z): where gear lying in the boat rests.
double floorHeight(double x, double z);
