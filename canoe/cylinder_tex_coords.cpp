// Cylindrical texture coordinates.
#include "canoe/cylinder_tex_coords.h"

#include <cmath>

void cylinderTexCoords(ShapeFile& shape, double offsetDegrees) {
    const double x0 = CYLINDER_X, y0 = CYLINDER_Y, z0 = CYLINDER_Z0, z1 = CYLINDER_Z1;
    for (int i = 0; i < shape.vertexCount; i++) {
        double x = shape.vertices[i][0], y = shape.vertices[i][1], z = shape.vertices[i][2];
        // On the axis's own x the quotient is infinite and atan gives +-90 degrees, as intended.
        double q = (y0 - y) / (x0 - x);
        // Exact degrees: with the single-precision factor an infinite quotient would give 89.99999,
        // which truncates to 89 instead of the 90 that a vertex straight below the axis must get.
        double angle = std::atan(q) * (180.0 / M_PI);
        if (std::isnan(angle)) angle = 0.0; // a vertex on the axis itself: 0 / 0
        // Truncate to whole degrees first, then take the absolute value: s moves in steps of 1/180.
        double s = (std::fabs(std::trunc(angle)) + offsetDegrees) / 180.0;
        double t = (z - z0) / (z1 - z0);
        shape.texCoords[i][0] = static_cast<float>(s);
        shape.texCoords[i][1] = static_cast<float>(t);
    }
}
