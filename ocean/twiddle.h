// The twiddle recurrence of the radix-2 passes, one definition for fft1d and for fft2d's tables:
// every pass starts at u = 1 and turns u by the pass's root c; the next pass's root is the square
// root of this one, its sine negated for the forward direction.
#pragma once

#include "ocean/rounding.h"

#include <cmath>

// u = u * c.
inline void turnTwiddle(double& u1, double& u2, double c1, double c2) {
    double z = u1 * c1 - u2 * c2;
    u2 = u1 * c2 + u2 * c1;
    u1 = z;
}

// c = sqrt(c), starting from c = -1 for the first pass.
inline void nextPassRoot(int dir, double& c1, double& c2) {
    c2 = std::sqrt((1.0 - c1) / 2.0);
    if (dir == 1) c2 = -c2;
    c1 = std::sqrt((1.0 + c1) / 2.0);
}
