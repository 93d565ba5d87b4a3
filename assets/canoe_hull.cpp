// The hull's lines: a full midship section with a flat bottom and rounded bilge, fine ends, a sheer
// that sweeps up toward bow and stern, rocker, and stems that rake forward and curl back at the top.
#include "assets/canoe_hull.h"

#include <algorithm>
#include <cmath>

double hullHalfBeam(double u) {
    double a = 1.0 - std::pow(std::fabs(u), 2.5);
    return a <= 0 ? 0.0 : 15.0 * std::pow(a, 0.8);
}

double hullSheer(double u) {
    return 6.5 + 2.0 * u * u + 5.0 * std::pow(u, 8);
}
double hullKeel(double u) {
    return -10.0 + 1.5 * u * u + 11.0 * std::pow(u, 8);
}

// Cross-section: a superellipse quarter from the keel (0, 0) to the sheer (1, 1), slightly fuller at
// the turn of the bilge.
static double sectionX(double h) {
    double t = h * M_PI / 2;
    return std::pow(std::sin(t), 0.8) * (1.0 + 0.05 * std::sin(2 * t));
}
static double sectionY(double h) {
    return 1.0 - std::pow(std::cos(h * M_PI / 2), 0.8);
}

// How far the stem profile reaches at height h, as a share of the half length: short at the forefoot,
// full at 0.8 of the height, curling back at the head.
static double stemReach(double h) {
    double rise = std::sin(std::min(h / 0.8, 1.0) * M_PI / 2);
    double curl = std::max(0.0, (h - 0.8) / 0.2);
    return 0.86 + 0.14 * rise - 0.07 * curl * curl;
}

Vec3 hullPoint(double u, double h, int side) {
    double keel = hullKeel(u), sheer = hullSheer(u);
    double x = HULL_X + side * hullHalfBeam(u) * sectionX(h);
    double y = keel + (sheer - keel) * sectionY(h);
    double z = HULL_Z_MID + HULL_HALF_LENGTH * (u - (1.0 - stemReach(h)) * std::pow(u, 7));
    return {x, y, z};
}

Vec3 hullNormal(double u, double h, int side) {
    const double e = 1e-3;
    double uc = std::clamp(u, -1 + 2 * e, 1 - 2 * e), hc = std::clamp(h, 2 * e, 1 - e);
    Vec3 du = hullPoint(uc + e, hc, side) - hullPoint(uc - e, hc, side);
    Vec3 dh = hullPoint(uc, hc + e, side) - hullPoint(uc, hc - e, side);
    Vec3 n = normalized(cross(du, dh));
    // Outward: away from the centre line and downward at the bottom.
    Vec3 p = hullPoint(uc, hc, side);
    Vec3 guess = {p.x - HULL_X, p.y - hullSheer(uc), 0};
    if (dot(n, guess) < 0) n = n * -1.0;
    return n;
}

static double thicknessAt(double u, double h) {
    double beam = hullHalfBeam(u) * std::max(sectionX(h), 0.05);
    return HULL_THICKNESS * std::min(1.0, beam / 2.0);
}

Vec3 hullInnerPoint(double u, double h, int side) {
    return hullPoint(u, h, side) - hullNormal(u, h, side) * thicknessAt(u, h);
}

Vec3 hullInsidePoint(double u, double h, int side, double depth) {
    return hullInnerPoint(u, h, side) - hullNormal(u, h, side) * depth;
}

double hullStationAt(double z) {
    double lo = -1, hi = 1;
    for (int i = 0; i < 60; i++) {
        double mid = (lo + hi) / 2;
        if (hullPoint(mid, 0.5, 1).z < z)
            lo = mid;
        else
            hi = mid;
    }
    return (lo + hi) / 2;
}

double hullHeightAtY(double u, double y) {
    double keel = hullKeel(u), sheer = hullSheer(u);
    if (y <= keel) return 0.0;
    if (y >= sheer) return 1.0;
    double f = (y - keel) / (sheer - keel);
    return std::acos(std::pow(1.0 - f, 1.0 / 0.8)) / (M_PI / 2);
}

Vec3 gunwaleInnerRim(double u, int side) {
    Vec3 top = hullPoint(u, 1.0, side);
    double inward = std::min(0.9, hullHalfBeam(u) * 0.5);
    return {top.x - side * inward, top.y + 0.3, top.z};
}
