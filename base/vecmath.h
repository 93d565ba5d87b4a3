// Double-precision vector and 4x4 matrix for the skeleton, skinning and the canoe's placement, and the
// single-precision row-major matrix of the water's shader. A Matrix4 is stored column-major, exactly
// as glLoadMatrixd / glMultMatrixd expect it.
#pragma once

#include <cmath>

// Degrees to radians: 0.017453293 for float and for double arithmetic (the float is a little below it,
// 0.0174532924). Not pi / 180, which is smaller again.
const float DEGREES_TO_RADIANS_F = 0.017453293f;
const double DEGREES_TO_RADIANS = 0.017453293;

struct Vec3 {
    double x = 0.0, y = 0.0, z = 0.0;

    Vec3() = default;
    Vec3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

    Vec3 operator+(const Vec3& b) const { return Vec3(x + b.x, y + b.y, z + b.z); }
    Vec3 operator-(const Vec3& b) const { return Vec3(x - b.x, y - b.y, z - b.z); }
    Vec3 operator*(double s) const { return Vec3(x * s, y * s, z * s); }
};

inline double dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
// Right-handed: cross(x axis, y axis) is the z axis.
inline Vec3 cross(const Vec3& a, const Vec3& b) {
    return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
inline double length(const Vec3& a) {
    return std::sqrt(dot(a, a));
}
// Each component divided by the length; the zero vector stays zero.
inline Vec3 unitVector(const Vec3& a) {
    double l = length(a);
    if (l == 0.0) l = 1.0;
    return Vec3(a.x / l, a.y / l, a.z / l);
}

struct Matrix4 {
    // Element (row r, column c) lives at m[4 * c + r]; the translation sits at 12, 13, 14.
    double m[16];

    Matrix4() { setIdentity(); }
    // Arguments are given row by row, as the matrix is written on paper.
    Matrix4(double a00, double a01, double a02, double a03, double a10, double a11, double a12, double a13,
            double a20, double a21, double a22, double a23, double a30, double a31, double a32, double a33);

    double& at(int row, int col) { return m[4 * col + row]; }
    double at(int row, int col) const { return m[4 * col + row]; }

    void setIdentity();
    // Right-handed rotations (counter-clockwise seen from the positive end of the axis), angle in degrees.
    void setRotationX(const double& degrees);
    void setRotationY(const double& degrees);
    void setRotationZ(const double& degrees);

    // Matrix product; with column vectors the right operand acts first.
    Matrix4 operator*(const Matrix4& b) const;

    // Apply to the point (v, 1); no division by w (affine matrices only).
    void transformPoint(Vec3& v) const;
    // Apply the upper-left 3x3 part only.
    void transformDirection(Vec3& v) const;
};

// Builders for the fixed placements (the same products as glTranslate, glScale and glRotate about an axis).
Matrix4 translationMatrix(double x, double y, double z);
Matrix4 scaleMatrix(double x, double y, double z);
Matrix4 rotationX(double degrees);
Matrix4 rotationY(double degrees);
Matrix4 rotationZ(double degrees);

// Rows and columns swapped: the inverse of a pure rotation.
Matrix4 transposeMatrix(const Matrix4& m);

// Inverse by cofactors. A singular matrix (determinant exactly 0, or NaN) prints a warning and
// yields the identity.
Matrix4 invertMatrix(const Matrix4& m);

// Row-major single-precision 4x4 matrices (element [r][c] at 4r + c), as the water's shader takes its
// model-to-world matrix.
void identityMatrixf(float* m);
void multiplyMatrixf(float* a, const float* b); // a = a * b
// Overwrites [0][3], [1][3], [2][3]; a zero is stored as +0.0.
void setTranslationf(float* m, float x, float y, float z);
void rotateMatrixf(float* m, float ax, float az); // degrees about x, then about z; 0 skips
