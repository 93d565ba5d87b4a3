// Quaternions: Euler angles against the rotation builders, the slerp's short way and its plain blend,
// and the conversion back from a rotation matrix on each of its branches.
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
    // The plain weights shorten the blend a little; the renormalised slerp puts it back on the sphere.
    Quaternion unit = slerpRenormalised(a, c, 0.25);
    EXPECT_NEAR(std::sqrt(unit.x * unit.x + unit.y * unit.y + unit.z * unit.z + unit.w * unit.w), 1, 1e-15);
    EXPECT_NEAR(unit.z / unit.w, lin.z / lin.w, 1e-15);
}

// Each row lands on another branch of the conversion: the trace, or the largest diagonal element.
TEST(Quaternions, RotationMatrixRoundTripsOnEveryBranch) {
    const struct {
        const char* what;
        Matrix4 m;
    } cases[] = {{"small turn", rotationX(20) * rotationZ(30)},
                 {"x largest", rotationX(170) * rotationY(10)},
                 {"y largest", rotationY(-165) * rotationZ(5)},
                 {"z largest", rotationZ(150) * rotationX(-8)}};
    for (const auto& c : cases)
        expectNear(quaternionToMatrix(matrixToQuaternion(c.m)), c.m, 1e-12, c.what);
}

} // namespace
