// Shaping functions shared by the generator's painters and modellers.
#pragma once

#include <cmath>

// 0 below edge0, 1 above edge1, and a smooth cubic between them.
inline double smoothstep(double edge0, double edge1, double x) {
    double t = std::fmin(std::fmax((x - edge0) / (edge1 - edge0), 0.0), 1.0);
    return t * t * (3 - 2 * t);
}
