// Vector helpers, matrix layout, rotation direction, product order, transforms and the inverse.
#include "base/vecmath.h"

#include <gtest/gtest.h>
#include <random>

static void expectNear(const Vec3& v, const Vec3& e, double tolerance) {
    EXPECT_TRUE(std::abs(v.x - e.x) <= tolerance && std::abs(v.y - e.y) <= tolerance &&
                std::abs(v.z - e.z) <= tolerance)
        << v.x << " " << v.y << " " << v.z;
}

static void expectIdentity(const Matrix4& m, double tolerance) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m.m[i], i % 5 == 0 ? 1.0 : 0.0, tolerance) << "index " << i;
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expectNear(c.got, c.want, 1e-15);
    }
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
        SCOPED_TRACE(c.what);
        Vec3 point = c.in, direction = c.in;
        c.m.transformPoint(point);
        c.m.transformDirection(direction);
        expectNear(point, c.point, 1e-7);
        expectNear(direction, c.direction, 1e-7);
    }
    EXPECT_EQ(z.m[0], std::cos(90.0 * 0.017453293)) << "degrees convert with 0.017453293, not pi / 180";
    EXPECT_EQ(Matrix4(0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0).m[4], 7)
        << "given by rows, stored by columns";
    // Assigning the product back to an operand is safe.
    Matrix4 c = x;
    c = c * z;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(c.m[i], (x * z).m[i]);
}

TEST(Matrix4, InverseGivesIdentityBothWaysSingularOnesWarn) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-2.0, 2.0);
    for (int trial = 0; trial < 50; ++trial) {
        Matrix4 m;
        for (double& element : m.m)
            element = value(random);
        Matrix4 inverse = invertMatrix(m);
        expectIdentity(m * inverse, 1e-12);
        expectIdentity(inverse * m, 1e-12);
    }
    // A singular matrix warns once and gives the identity; a tiny determinant is no singular one.
    Matrix4 zero(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), notANumber, tiny;
    notANumber.m[0] = std::nan("");
    tiny.m[0] = 1e-300; // determinant 1e-300: small, not zero
    const struct {
        const char* name;
        Matrix4 m;
        bool singular;
    } cases[] = {{"zero", zero, true}, {"NaN", notANumber, true}, {"tiny determinant", tiny, false}};
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        Matrix4 result = invertMatrix(c.m);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed, c.singular ? "Warning: Call to invertMatrix produced a Singular matrix.\n" : "")
            << c.name;
        if (c.singular)
            expectIdentity(result, 0.0);
        else
            EXPECT_NEAR(result.m[0], 1e300, 1e285) << c.name;
    }
}
