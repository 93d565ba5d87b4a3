// Matrix layout, rotation direction, product order, transforms and the inverse.
#include "base/vecmath.h"

#include <gtest/gtest.h>
#include <random>

static void expectNear(const Vec3& v, double x, double y, double z, double tolerance = 1e-7) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

static void expectIdentity(const Matrix4& m, double tolerance) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m.m[i], i % 5 == 0 ? 1.0 : 0.0, tolerance) << "index " << i;
}

static Matrix4 randomMatrix(std::mt19937& random) {
    std::uniform_real_distribution<double> value(-2.0, 2.0);
    Matrix4 m;
    for (double& element : m.m)
        element = value(random);
    return m;
}

TEST(Matrix4, RowByRowConstructorStoresColumnMajor) {
    Matrix4 m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const double expected[16] = {1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m.m[i], expected[i]);
    Matrix4 identity;
    expectIdentity(identity, 0.0);
}

TEST(Matrix4, RotationsTurnCounterClockwiseAboutTheirAxis) {
    struct Case {
        void (Matrix4::*set)(const double&);
        Vec3 in, out;
    } cases[] = {
        {&Matrix4::setRotationZ, {1, 0, 0}, {0, 1, 0}},
        {&Matrix4::setRotationX, {0, 1, 0}, {0, 0, 1}},
        {&Matrix4::setRotationY, {0, 0, 1}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        Matrix4 m;
        double angle = 90.0;
        (m.*c.set)(angle);
        Vec3 v = c.in;
        m.transformPoint(v);
        expectNear(v, c.out.x, c.out.y, c.out.z);
    }
    // The conversion uses 0.017453293, not pi / 180.
    Matrix4 z;
    double angle = 90.0;
    z.setRotationZ(angle);
    EXPECT_EQ(z.m[0], std::cos(90.0 * 0.017453293));
    EXPECT_NE(z.m[0], std::cos(90.0 * 0.017453292519943295));
}

TEST(Matrix4, TranslationMovesPointsNotDirections) {
    Matrix4 t;
    t.m[12] = 3, t.m[13] = -4, t.m[14] = 5;
    Vec3 point(1, 1, 1), direction(1, 1, 1);
    t.transformPoint(point);
    t.transformDirection(direction);
    expectNear(point, 4, -3, 6, 0);
    expectNear(direction, 1, 1, 1, 0);
}

TEST(Matrix4, ProductAppliesRightOperandFirst) {
    Matrix4 a, b;
    double ninety = 90.0;
    a.setRotationX(ninety);
    b.setRotationZ(ninety);
    Matrix4 ab = a * b, ba = b * a;
    bool differ = false;
    for (int i = 0; i < 16; ++i)
        differ = differ || std::abs(ab.m[i] - ba.m[i]) > 1e-6;
    EXPECT_TRUE(differ);

    // (A * B) v == A (B v)
    Vec3 v(0.3, -1.2, 2.5), w = v;
    ab.transformPoint(v);
    b.transformPoint(w);
    a.transformPoint(w);
    expectNear(v, w.x, w.y, w.z, 1e-12);
    // Rz(90) then Rx(90): x -> y -> z.
    Vec3 x(1, 0, 0);
    ab.transformPoint(x);
    expectNear(x, 0, 0, 1);

    // Assigning the product back to an operand is safe.
    Matrix4 c = a;
    c = c * b;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(c.m[i], ab.m[i]);
}

TEST(Matrix4, InverseOfRandomMatricesGivesIdentityBothWays) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 50; ++trial) {
        Matrix4 m = randomMatrix(random);
        Matrix4 inverse = invertMatrix(m);
        expectIdentity(m * inverse, 1e-12);
        expectIdentity(inverse * m, 1e-12);
    }
}

TEST(Matrix4, SingularMatrixWarnsOnceAndGivesIdentity) {
    struct Case {
        const char* name;
        Matrix4 m;
        bool singular;
    };
    Matrix4 zero;
    for (double& e : zero.m)
        e = 0;
    Matrix4 repeatedRow(1, 2, 3, 4, 1, 2, 3, 4, 0, 1, 0, 0, 0, 0, 0, 1);
    Matrix4 notANumber;
    notANumber.m[0] = std::nan("");
    Matrix4 tiny;
    tiny.m[0] = 1e-300; // determinant 1e-300: small, not zero
    Case cases[] = {{"zero", zero, true},
                    {"repeated row", repeatedRow, true},
                    {"NaN", notANumber, true},
                    {"tiny determinant", tiny, false}};
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        Matrix4 result = invertMatrix(c.m);
        std::string printed = testing::internal::GetCapturedStdout();
        if (c.singular) {
            EXPECT_EQ(printed, "Warning: Call to invertMatrix produced a Singular matrix.\n") << c.name;
            expectIdentity(result, 0.0);
        } else {
            EXPECT_EQ(printed, "") << c.name;
            EXPECT_NEAR(result.m[0], 1e300, 1e285) << c.name;
        }
    }
}
