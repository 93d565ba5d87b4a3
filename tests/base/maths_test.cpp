// The maths: cross products and unit vectors, matrix layout, rotations, product order, transforms and the
// inverse (the quaternions' Euler angles and slerp show in every figure of generated_paddler_test.cpp).
#include "base/vecmath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

void expectNear(const Matrix4& a, const Matrix4& b, double tolerance, const char* what) {
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(a.m[k], b.m[k], tolerance) << what << " element " << k;
}

// The cross product is right-handed and anti-commutes; a unit vector of nothing stays nothing.
TEST(Vec3, CrossProductHandednessAndUnitVectors) {
    const Vec3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    const struct {
        const char* what;
        Vec3 got, want;
    } cases[] = {{"x by y", cross(x, y), z},
                 {"y by z", cross(y, z), x},
                 {"z by x", cross(z, x), y},
                 {"y by x", cross(y, x), z * -1},
                 {"unit", unitVector(Vec3(3, -4, 0)), Vec3(0.6, -0.8, 0)},
                 {"zero", unitVector(Vec3()), Vec3()}};
    for (const auto& c : cases)
        EXPECT_LE(length(c.got - c.want), 1e-15) << c.what;
}

// Each rotation turns counter-clockwise about its axis; translations move points, not directions; the
// right operand of a product acts first.
TEST(Matrix4, RotationsTranslationsAndProductOrder) {
    Matrix4 z = rotationZ(90), x = rotationX(90), shift = translationMatrix(3, -4, 5);
    const struct {
        const char* what;
        Matrix4 m;
        Vec3 in, point, direction;
    } cases[] = {
        {"about z", z, {1, 0, 0}, {0, 1, 0}, {0, 1, 0}},
        {"about x", x, {0, 1, 0}, {0, 0, 1}, {0, 0, 1}},
        {"about y", rotationY(90), {0, 0, 1}, {1, 0, 0}, {1, 0, 0}},
        {"translation", shift, {1, 1, 1}, {4, -3, 6}, {1, 1, 1}},
        {"x after z", x * z, {1, 0, 0}, {0, 0, 1}, {0, 0, 1}}, // x -> y -> z
        {"z after x", z * x, {1, 0, 0}, {0, 1, 0}, {0, 1, 0}},
        {"translation after z", shift * z, {1, 0, 0}, {3, -3, 5}, {0, 1, 0}},
    };
    for (const auto& c : cases) {
        Vec3 point = c.in, direction = c.in;
        c.m.transformPoint(point);
        c.m.transformDirection(direction);
        EXPECT_TRUE(length(point - c.point) < 1e-7 && length(direction - c.direction) < 1e-7) << c.what;
    }
    EXPECT_EQ(z.m[0], std::cos(90.0 * 0.017453293)) << "degrees convert with 0.017453293, not pi / 180";
    EXPECT_EQ(Matrix4(0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0).m[4], 7)
        << "given by rows, stored by columns";
}

// Random matrices times their inverse give the identity both ways; a singular matrix warns once and gives
// the identity; a tiny determinant is no singular one.
TEST(Matrix4, InverseGivesIdentityBothWaysSingularOnesWarn) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-2.0, 2.0);
    for (int trial = 0; trial < 50; ++trial) {
        Matrix4 m;
        for (double& element : m.m)
            element = value(random);
        expectNear(m * invertMatrix(m), Matrix4(), 1e-12, "m by its inverse");
        expectNear(invertMatrix(m) * m, Matrix4(), 1e-12, "the inverse by m");
    }
    Matrix4 zero(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), notANumber, tiny;
    notANumber.m[0] = std::nan("");
    tiny.m[0] = 1e-300;
    const Matrix4 cases[] = {zero, notANumber, tiny};
    for (int k = 0; k < 3; ++k) {
        bool singular = k < 2;
        testing::internal::CaptureStdout();
        Matrix4 result = invertMatrix(cases[k]);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  singular ? "Warning: Call to invertMatrix produced a Singular matrix.\n" : "");
        expectNear(result, singular ? Matrix4() : Matrix4(1e300, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1),
                   singular ? 0 : 1e285, "singular or tiny");
    }
}

} // namespace
