// Quaternions: Euler angles against the rotation builders, the slerp's short way and its plain blend.
#include "base/quaternion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

void expectNear(const Matrix4& a, const Matrix4& b, double tolerance, const char* what) {
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(a.m[k], b.m[k], tolerance) << what << " element " << k;
}

TEST(Quaternions, EulerAnglesGiveRzRyRxOfTheRotationBuilders) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> angle(-3.1, 3.1);
    for (int i = 0; i < 200; ++i) {
        float ax = float(angle(random)), ay = float(angle(random)), az = float(angle(random));
        Matrix4 builders = rotationZ(az / DEGREES_TO_RADIANS) * rotationY(ay / DEGREES_TO_RADIANS) *
                           rotationX(ax / DEGREES_TO_RADIANS);
        expectNear(quaternionToMatrix(eulerToQuaternion(ax, ay, az)), builders, 1e-6, "random angles");
    }
}

TEST(Quaternions, SlerpTakesTheShortArcAndBlendsNearlyEqualOnesLinearly) {
    Quaternion a = eulerToQuaternion(0, 0, 0.2), b = eulerToQuaternion(0, 0, 0.6);
    Quaternion negB{-b.x, -b.y, -b.z, -b.w};
    Quaternion half = slerpQuaternion(a, negB, 0.5);
    // The same rotation as the short way round, up to the overall sign of the negated start.
    EXPECT_NEAR(std::fabs(half.z), std::sin(0.2), 1e-6);
    EXPECT_NEAR(std::fabs(half.w), std::cos(0.2), 1e-6);
    Quaternion c = eulerToQuaternion(0, 0, 0.2001);
    Quaternion lin = slerpQuaternion(a, c, 0.25); // 1 - dot <= 0.0001: plain weights
    EXPECT_DOUBLE_EQ(lin.z, 0.75 * a.z + 0.25 * c.z);
    EXPECT_DOUBLE_EQ(lin.w, 0.75 * a.w + 0.25 * c.w);
}

} // namespace
