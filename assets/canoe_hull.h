// The birch-bark hull as a surface: stations u along the length (-1 stern, +1 bow), heights h from the
// keel (0) to the sheer (1), side -1 (x below the centre line) or +1. Shared by the hull skins, ribs,
// gunwales, seats and the hull mask, so that they all sit on the same surface.
#pragma once

#include "assets/canoe_mesh.h"

const double HULL_X = -0.371732;                    // centre line, under the texture cylinder's axis
const double HULL_Z_MID = (-70.6378 + 79.8602) / 2; // middle of the texture cylinder
const double HULL_HALF_LENGTH = (79.8602 + 70.6378) / 2;
const double HULL_THICKNESS = 0.35;
const double HULL_WATERLINE_BAND = -6.5; // top of the gum-sealed bottom, below the water at y = -5

double hullHalfBeam(double u);
double hullSheer(double u);
double hullKeel(double u);

// Outer surface point and its outward unit normal.
Vec3 hullPoint(double u, double h, int side);
Vec3 hullNormal(double u, double h, int side);
// The inner face of the bark, HULL_THICKNESS inside the outer surface (less at the narrow ends).
Vec3 hullInnerPoint(double u, double h, int side);
// Offset from the inner face toward the inside of the boat by 'depth'.
Vec3 hullInsidePoint(double u, double h, int side, double depth);
// The station whose middle (h = 0.5) lies at z.
double hullStationAt(double z);
// Height h at station u where the outer surface reaches y (0 if the keel is already above it).
double hullHeightAtY(double u, double y);
// The top of the gunwale's inner edge on one side: the hull mask's rim.
Vec3 gunwaleInnerRim(double u, int side);
