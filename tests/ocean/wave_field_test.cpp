// The local wave field: a push spreads as a ring at the wave speed and dies away, the energy never
// grows, a shift by whole cells moves the pattern unchanged, and waves die toward the edge.
#include "ocean/wave_field.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Along the +x ray from (x, y): the highest the field stands, and the ring's front, the farthest point
// where it stands at least a third of that.
void ring(double x, double y, double& front, double& height) {
    front = 0;
    height = 0;
    for (double r = 0; r < 120; r += 0.5)
        height = std::fmax(height, std::fabs(waveFieldHeight(x + r, y)));
    for (double r = 0; r < 120; r += 0.5)
        if (std::fabs(waveFieldHeight(x + r, y)) >= height / 3) front = r;
}

TEST(WaveField, APushSpreadsAsARingAtTheWaveSpeedAndDies) {
    const double radius = 4;
    resetWaveField(1000, -500);
    pushWaveField(1001, -499, 1, radius);
    double energy = waveFieldEnergy(), lastHeight = 1;
    for (int step = 1; step <= 6 * 60; ++step) {
        stepWaveField();
        double now = waveFieldEnergy();
        ASSERT_LE(now, energy * (1 + 1e-9)) << "step " << step;
        energy = now;
        if (step % 60 == 0) {
            double t = step * WAVE_STEP, front, height;
            ring(1001, -499, front, height);
            EXPECT_GE(front, WAVE_SPEED * t - 2 * WAVE_CELL) << t << " s";
            EXPECT_LE(front, WAVE_SPEED * t + radius + 2 * WAVE_CELL) << t << " s";
            EXPECT_LT(height, lastHeight) << t << " s";
            lastHeight = height;
            // The same ring along the other axis.
            EXPECT_NEAR(waveFieldHeight(1001, -499 + front), waveFieldHeight(1001 + front, -499), 1e-6)
                << t << " s";
        }
    }
    EXPECT_LT(lastHeight, 0.02);
}

TEST(WaveField, AShiftByWholeCellsMovesThePatternUnchanged) {
    resetWaveField(0, 0);
    pushWaveField(3, -7, 2, 3);
    pushWaveField(-20, 11, -1, 5);
    for (int step = 0; step < 30; ++step)
        stepWaveField();
    std::vector<double> before;
    for (double y = -40; y <= 40; y += 1.5)
        for (double x = -40; x <= 40; x += 1.5)
            before.push_back(waveFieldHeight(x, y));
    int originX = waveField.originX, originY = waveField.originY;
    followWaveField(0.5, 0.5); // within a cell of the centre: stays
    EXPECT_EQ(waveField.originX, originX);
    followWaveField(7 * WAVE_CELL, -5 * WAVE_CELL);
    EXPECT_EQ(waveField.originX, originX + 7);
    EXPECT_EQ(waveField.originY, originY - 5);
    size_t k = 0;
    for (double y = -40; y <= 40; y += 1.5)
        for (double x = -40; x <= 40; x += 1.5)
            ASSERT_EQ(waveFieldHeight(x, y), before[k++]) << x << ", " << y;
}

// A push 8 cells inside the edge loses its energy far faster than the same push in the middle; pushes
// outside the field, at no number or of no size are ignored; a flat field's texture is level and clear.
TEST(WaveField, WavesDieTowardTheEdgeAndPushesOutsideAreIgnored) {
    const double half = WAVE_FIELD_N * WAVE_CELL / 2;
    double kept[2];
    for (int nearEdge = 0; nearEdge < 2; ++nearEdge) {
        resetWaveField(0, 0);
        pushWaveField(nearEdge ? half - 8 * WAVE_CELL : 0, 0, 2, 4);
        double before = waveFieldEnergy();
        for (int step = 0; step < 60; ++step)
            stepWaveField();
        kept[nearEdge] = waveFieldEnergy() / before;
    }
    EXPECT_LT(kept[1], 0.5 * kept[0]);
    resetWaveField(0, 0);
    pushWaveField(half + 50, 0, 5, 4);
    pushWaveField(std::nan(""), 0, 5, 4);
    pushWaveField(0, 0, 5, 0);
    EXPECT_EQ(waveFieldEnergy(), 0);
    static unsigned char rgb[WAVE_FIELD_TEXTURE_BYTES];
    encodeWaveFieldTexture(rgb);
    EXPECT_TRUE(rgb[0] == 128 && rgb[1] == 128 && rgb[2] == 0);
}

} // namespace
