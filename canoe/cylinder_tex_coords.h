// The cylindrical texture coordinates of the ribs and the inner hull.
#pragma once

#include "canoe/shape_file.h"

// The texture cylinder: an axis parallel to z through (CYLINDER_X, CYLINDER_Y), with t running from
// 0 at CYLINDER_Z0 to 1 at CYLINDER_Z1.
const float CYLINDER_X = -0.371732f;
const float CYLINDER_Y = 6.51334f;
const float CYLINDER_Z0 = -70.6378f;
const float CYLINDER_Z1 = 79.8602f;

// Fills shape.texCoords: s from the angle about the cylinder's axis in whole degrees plus the offset
// (both over 180), t along z.
void cylinderTexCoords(ShapeFile& shape, double offsetDegrees);
