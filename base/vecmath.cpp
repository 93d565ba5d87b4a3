// Vec3 / Matrix4 operations: rotations, product, point and direction transforms, inverse; the float
// row-major helpers.
#include "base/vecmath.h"

#include <cmath>
#include <cstdio>
#include <cstring>

Matrix4::Matrix4(double a00, double a01, double a02, double a03, double a10, double a11, double a12,
                 double a13, double a20, double a21, double a22, double a23, double a30, double a31,
                 double a32, double a33)
    : m{a00, a10, a20, a30, a01, a11, a21, a31, a02, a12, a22, a32, a03, a13, a23, a33} {}

void Matrix4::setIdentity() {
    for (int i = 0; i < 16; ++i)
        m[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

// A rotation within the plane of axes a and b, turning a toward b.
static void setPlaneRotation(Matrix4& m, int a, int b, double degrees) {
    const double radians = degrees * DEGREES_TO_RADIANS;
    double c = std::cos(radians), s = std::sin(radians);
    m.setIdentity();
    m.at(a, a) = c;
    m.at(a, b) = -s;
    m.at(b, a) = s;
    m.at(b, b) = c;
}

void Matrix4::setRotationX(const double& degrees) {
    setPlaneRotation(*this, 1, 2, degrees);
}
void Matrix4::setRotationY(const double& degrees) {
    setPlaneRotation(*this, 2, 0, degrees);
}
void Matrix4::setRotationZ(const double& degrees) {
    setPlaneRotation(*this, 0, 1, degrees);
}

Matrix4 translationMatrix(double x, double y, double z) {
    Matrix4 t;
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    return t;
}

Matrix4 scaleMatrix(double x, double y, double z) {
    Matrix4 s;
    s.m[0] = x;
    s.m[5] = y;
    s.m[10] = z;
    return s;
}

// A fresh matrix with the rotation 'set' of 'degrees'.
static Matrix4 rotation(void (Matrix4::*set)(const double&), double degrees) {
    Matrix4 r;
    (r.*set)(degrees);
    return r;
}
Matrix4 rotationX(double degrees) {
    return rotation(&Matrix4::setRotationX, degrees);
}
Matrix4 rotationY(double degrees) {
    return rotation(&Matrix4::setRotationY, degrees);
}
Matrix4 rotationZ(double degrees) {
    return rotation(&Matrix4::setRotationZ, degrees);
}

Matrix4 Matrix4::operator*(const Matrix4& b) const {
    Matrix4 r;
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += at(row, k) * b.at(k, col);
            r.at(row, col) = sum;
        }
    return r;
}

void Matrix4::transformPoint(Vec3& v) const {
    double x = v.x, y = v.y, z = v.z;
    v.x = m[0] * x + m[4] * y + m[8] * z + m[12];
    v.y = m[1] * x + m[5] * y + m[9] * z + m[13];
    v.z = m[2] * x + m[6] * y + m[10] * z + m[14];
}

void Matrix4::transformDirection(Vec3& v) const {
    double x = v.x, y = v.y, z = v.z;
    v.x = m[0] * x + m[4] * y + m[8] * z;
    v.y = m[1] * x + m[5] * y + m[9] * z;
    v.z = m[2] * x + m[6] * y + m[10] * z;
}

Matrix4 transposeMatrix(const Matrix4& m) {
    Matrix4 t;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            t.at(row, col) = m.at(col, row);
    return t;
}

Matrix4 invertMatrix(const Matrix4& matrix) {
    const double* m = matrix.m;
    Matrix4 result;
    double* r = result.m;

    // 2x2 minors of rows 2 and 3.
    double a01 = m[2] * m[7] - m[3] * m[6], a02 = m[2] * m[11] - m[3] * m[10];
    double a03 = m[2] * m[15] - m[3] * m[14], a12 = m[6] * m[11] - m[7] * m[10];
    double a13 = m[6] * m[15] - m[7] * m[14], a23 = m[10] * m[15] - m[11] * m[14];

    r[0] = m[5] * a23 - m[9] * a13 + m[13] * a12;
    r[1] = -(m[1] * a23 - m[9] * a03 + m[13] * a02);
    r[2] = m[1] * a13 - m[5] * a03 + m[13] * a01;
    r[3] = -(m[1] * a12 - m[5] * a02 + m[9] * a01);

    double det = m[0] * r[0] + m[4] * r[1] + m[8] * r[2] + m[12] * r[3];
    // No tolerance; a NaN determinant fails the comparison below and counts as singular.
    if (det == 0.0 || std::isnan(det)) {
        std::printf("Warning: Call to invertMatrix produced a Singular matrix.\n");
        return Matrix4();
    }
    double k = 1.0 / det;
    r[0] *= k;
    r[1] *= k;
    r[2] *= k;
    r[3] *= k;
    r[4] = -(m[4] * a23 - m[8] * a13 + m[12] * a12) * k;
    r[5] = (m[0] * a23 - m[8] * a03 + m[12] * a02) * k;
    r[6] = -(m[0] * a13 - m[4] * a03 + m[12] * a01) * k;
    r[7] = (m[0] * a12 - m[4] * a02 + m[8] * a01) * k;

    // 2x2 minors of rows 0 and 1.
    double b01 = m[0] * m[5] - m[1] * m[4], b02 = m[0] * m[9] - m[1] * m[8];
    double b03 = m[0] * m[13] - m[1] * m[12], b12 = m[4] * m[9] - m[5] * m[8];
    double b13 = m[4] * m[13] - m[5] * m[12], b23 = m[8] * m[13] - m[9] * m[12];

    r[8] = (m[7] * b23 - m[11] * b13 + m[15] * b12) * k;
    r[9] = -(m[3] * b23 - m[11] * b03 + m[15] * b02) * k;
    r[10] = (m[3] * b13 - m[7] * b03 + m[15] * b01) * k;
    r[11] = -(m[3] * b12 - m[7] * b02 + m[11] * b01) * k;
    r[12] = -(m[6] * b23 - m[10] * b13 + m[14] * b12) * k;
    r[13] = (m[2] * b23 - m[10] * b03 + m[14] * b02) * k;
    r[14] = -(m[2] * b13 - m[6] * b03 + m[14] * b01) * k;
    r[15] = (m[2] * b12 - m[6] * b02 + m[10] * b01) * k;
    return result;
}

void identityMatrixf(float* m) {
    for (int i = 0; i < 16; ++i)
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

void multiplyMatrixf(float* a, const float* b) {
    float product[16];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[4 * r + k] * b[4 * k + c];
            product[4 * r + c] = sum;
        }
    std::memcpy(a, product, sizeof product);
}

void setTranslationf(float* m, float x, float y, float z) {
    // Adding +0.0 turns a -0.0 into +0.0.
    m[3] = x + 0.0f;
    m[7] = y + 0.0f;
    m[11] = z + 0.0f;
}

// Multiplies m by a turn in the plane of axes a and b (x = 0, y = 1, z = 2).
static void rotateInPlane(float* m, float degrees, int a, int b) {
    float c = std::cos(degrees * DEGREES_TO_RADIANS_F), s = std::sin(degrees * DEGREES_TO_RADIANS_F);
    float rotation[16];
    identityMatrixf(rotation);
    rotation[5 * a] = c;
    rotation[4 * a + b] = -s;
    rotation[4 * b + a] = s;
    rotation[5 * b] = c;
    multiplyMatrixf(m, rotation);
}

void rotateMatrixf(float* m, float ax, float az) {
    if (ax != 0) rotateInPlane(m, ax, 1, 2);
    if (az != 0) rotateInPlane(m, az, 0, 1);
}
