// Rotation quaternions: from Euler angles, to and from rotation matrices, and the slerp that blends two
// keys of a clip.
#pragma once

#include "base/vecmath.h"

struct Quaternion {
    double x = 0, y = 0, z = 0, w = 1; // w is the scalar part
};

// Rz * Ry * Rx of angles in radians. The half-angle sines and cosines are rounded to float and
// combined in float, as the model files' keys have always been turned into quaternions.
Quaternion eulerToQuaternion(double ax, double ay, double az);
// The shorter arc from a to b at fraction t; nearly equal ends (dot product within 0.0001 of 1) are
// blended with plain weights. The result is not rescaled to unit length.
Quaternion slerpQuaternion(const Quaternion& a, const Quaternion& b, double t);
// slerpQuaternion divided by its length, for blends that must stay rotations.
Quaternion slerpRenormalised(const Quaternion& a, const Quaternion& b, double t);
Matrix4 quaternionToMatrix(const Quaternion& q);
// The quaternion of the rotation in the upper-left 3x3 part of m (either of its two signs).
Quaternion matrixToQuaternion(const Matrix4& m);
