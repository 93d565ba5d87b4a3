// The hull mask's points: "gunwale.mask", a strip spanning the inside of the gunwales in the canoe's
// model space.
#pragma once

#include <istream>

const int GUNWALE_POINTS = 22;

// A[i] on one rail and B[i] on the other, in the canoe's model space.
struct GunwaleMaskPoints {
    float a[GUNWALE_POINTS][3];
    float b[GUNWALE_POINTS][3];
};
extern GunwaleMaskPoints gunwaleMask;

// Reads the 132 numbers (A then B, x y z each). A stream that ends before all 132 prints one line
// naming "gunwale.mask" and returns false; the caller then stops the program.
bool readGunwaleMask(std::istream& in);
