// The ocean: fft2d's plane waves and refusals; reference values of the sea (the generator, the
// spectrum's tables, a whole tick of a known sea), the grids' seams and the normal map's bytes; and the
// local wave field (rings at the wave speed that die away, whole-cell shifts, damping at the edge).
#include "ocean/fft.h"
#include "ocean/spectrum.h"
#include "ocean/surface.h"
#include "ocean/wave_field.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace {

// Fills any table of doubles (Complex, PositionXY, Vec3) with numbers from -3 to 3.
template <typename Table> void fillRandom(Table& table, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    double* values = reinterpret_cast<double*>(&table);
    for (size_t k = 0; k < sizeof(Table) / sizeof(double); k++)
        values[k] = value(generator);
}

template <typename Table> bool sameBits(const Table& a, const Table& b) {
    return std::memcmp(&a, &b, sizeof(Table)) == 0;
}

// A lone coefficient at (p, q) of an nx x ny block: the inverse gives e^{+2 pi i (p x / nx + q y / ny)}
// in every cell of the block, and the forward transform brings the coefficient back alone (the 1 / N
// scale). Cells outside the block keep their marker.
TEST(Fft2d, ACoefficientBecomesAPlaneWaveAndBack) {
    const struct {
        int rows, nx, ny, p, q;
    } cases[] = {
        {64, 64, 64, 3, 5},  {64, 8, 64, 5, 63},     {64, 64, 2, 60, 1},
        {64, 16, 32, 9, 30}, {256, 256, 64, 200, 7},
    };
    const Complex marker = {7.0, -7.0};
    for (const auto& c : cases) {
        std::vector<Complex> data(c.rows * FFT_ROW_LENGTH, marker);
        Complex(*block)[FFT_ROW_LENGTH] = reinterpret_cast<Complex(*)[FFT_ROW_LENGTH]>(data.data());
        for (int i = 0; i < c.nx; i++)
            for (int j = 0; j < c.ny; j++)
                block[i][j] = {i == c.p && j == c.q ? 1.0 : 0.0, 0.0};
        for (int dir : {-1, 1}) {
            ASSERT_EQ(fft2d(block, c.nx, c.ny, dir), 1);
            double largestError = 0.0;
            for (int i = 0; i < c.rows; i++)
                for (int j = 0; j < FFT_ROW_LENGTH; j++) {
                    double angle = 2 * M_PI * (double(c.p) * i / c.nx + double(c.q) * j / c.ny);
                    Complex expected = i >= c.nx || j >= c.ny ? marker
                                       : dir == -1            ? Complex{std::cos(angle), std::sin(angle)}
                                                   : Complex{i == c.p && j == c.q ? 1.0 : 0.0, 0.0};
                    largestError = std::fmax(largestError, std::fabs(block[i][j].real - expected.real) +
                                                               std::fabs(block[i][j].imag - expected.imag));
                }
            EXPECT_LT(largestError, 1e-12) << c.nx << " x " << c.ny << " dir " << dir;
        }
    }
}

// Sizes that are no power of two (INT_MAX without overflowing on the way), rows longer than 64 and more
// lines than the work arrays hold are refused with the array untouched.
TEST(Fft2d, RefusesSizesAndLeavesTheArrayAlone) {
    const struct {
        int nx, ny;
    } cases[] = {{1, 64}, {64, 1},   {3, 64},   {48, 64},  {64, 48},      {0, 64},
                 {64, 0}, {-64, 64}, {64, 100}, {64, 128}, {INT_MAX, 64}, {FFT_LONGEST_LINE * 2, 64}};
    static Complex data[64][FFT_ROW_LENGTH], before[64][FFT_ROW_LENGTH];
    fillRandom(data, 3);
    std::memcpy(before, data, sizeof data);
    for (const auto& c : cases) {
        EXPECT_TRUE(fft2d(data, c.nx, c.ny, -1) == 0 && sameBits(data, before)) << c.nx << " x " << c.ny;
    }
}

TEST(InitSpectrum, KnownSequenceWaveVectorsZerosAndAmplitudes) {
    seedRandom(1);
    for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
        EXPECT_EQ(nextRandom(), expected);
    seedRandom(77);
    initSpectrum();
    for (int i = 0; i < OCEAN_N; i++)
        for (int j = 0; j < OCEAN_N; j++) {
            const WaveVector& k = waveVectors[i][j];
            ASSERT_DOUBLE_EQ(k.kx, (i - 32) * WAVE_NUMBER_STEP);
            ASSERT_DOUBLE_EQ(k.ky, (j - 32) * WAVE_NUMBER_STEP);
            ASSERT_DOUBLE_EQ(k.length * k.length, k.lengthSquared);
            // Zero frequency, and perpendicular to the (5, 5) wind: kx = -ky, i.e. i + j = 64.
            if (i + j == 64 || (i == 32 && j == 32)) {
                EXPECT_TRUE(h0[i][j].real == 0.0 && h0[i][j].imag == 0.0) << i << "," << j;
            }
        }
    // A pair taken out of turn, a wrong scale or a wrong wave vector shows here.
    const struct {
        int i, j;
        double real, imag;
    } cells[] = {{0, 0, -0.00035422001358563336, -5.2274056747499369e-06},
                 {5, 7, -0.0022166530407120031, 0.001375552323834532},
                 {40, 2, -0.0057799073029525571, 0.00059964880762215322},
                 {63, 63, -0.00068168003392919403, -0.0014601348214311248}};
    for (const auto& c : cells) {
        EXPECT_DOUBLE_EQ(h0[c.i][c.j].real, c.real) << c.i << "," << c.j;
        EXPECT_DOUBLE_EQ(h0[c.i][c.j].imag, c.imag) << c.i << "," << c.j;
    }
}

// A whole tick of a known sea at a known time, as it came out when the sea was first drawn: the steps in
// their order, the spectrum of the moment with its partner layout, the choppy displacement, the height's
// sign correction, the normals and the bytes.
TEST(AdvanceOcean, KnownSeaAtAKnownTime) {
    const struct {
        int i, j;
        Vec3 vertex, normal;
    } cells[] = {{5, 7, Vec3(10.247325495411458, 13.779349252364037, 0.65938071886448113),
                  Vec3(-0.024081566398469215, 0.062708013337014257, 0.99774134084096211)},
                 {40, 2, Vec3(79.843964549207683, 3.8119273888471672, 3.0012764914825789),
                  Vec3(-0.0058761591128073942, 0.0047900619194913415, 0.99997126261752567)},
                 {63, 33, Vec3(126.06668011449017, 66.08654894545279, -0.15789167978443386),
                  Vec3(-0.046787347533045261, 0.0088112752702941294, 0.99886600980258278)}};
    seedRandom(1733443200u);
    initSpectrum();
    ASSERT_EQ(advanceOcean(-61.25), OCEAN_TICK_DONE);
    for (const auto& c : cells)
        EXPECT_TRUE(length(drawVertices[c.i][c.j] - c.vertex) < 2e-12 &&
                    length(drawNormals[c.i][c.j] - c.normal) < 2e-12)
            << c.i << "," << c.j;
    static unsigned char pixels[64 * 64 * 3];
    encodeNormalMap(pixels);
    long sum = 0;
    for (unsigned char byte : pixels)
        sum += byte;
    EXPECT_EQ(sum, 1760906);
}

// Normals are copied across the seam, not taken across it; the drawing grid repeats row and column 0 one
// patch further on (the corner along both axes), so that neighbouring copies of the patch meet exactly.
TEST(Seams, NormalsAndTheDrawingGridRepeatRowAndColumnZero) {
    fillRandom(positionsXY, 4);
    fillRandom(heightField, 5);
    computeGridNormals(heightField);
    buildDrawGrid();
    for (int k = 0; k <= OCEAN_N; k++) {
        int inner = k % OCEAN_N;
        double shift = k == OCEAN_N ? PATCH_LENGTH : 0.0;
        const Vec3 &a = drawVertices[64][k], &b = drawVertices[0][inner];
        const Vec3 &c = drawVertices[k][64], &d = drawVertices[inner][0];
        EXPECT_TRUE(a.x == b.x + PATCH_LENGTH && a.y == b.y + shift && a.z == b.z) << k;
        EXPECT_TRUE(c.x == d.x + shift && c.y == d.y + PATCH_LENGTH && c.z == d.z) << k;
        EXPECT_TRUE(sameBits(drawNormals[64][k], drawNormals[0][inner]) &&
                    sameBits(drawNormals[k][64], drawNormals[inner][0]) &&
                    sameBits(gridNormals[63][inner], gridNormals[0][inner]) &&
                    sameBits(gridNormals[inner][63], gridNormals[inner][0]))
            << k;
    }
}

TEST(NormalMap, BytesOfNormals) {
    // Cell k gets normal k % 5, so that bytes taken from the wrong cell show.
    const struct {
        Vec3 normal;
        unsigned char rgb[3];
    } cases[] = {{Vec3(0, 0, 1), {127, 127, 177}},
                 {Vec3(1, 0, 0), {177, 127, 127}},
                 {Vec3(-1, 0, 0), {76, 127, 127}},
                 {Vec3(0, -1, 0), {127, 76, 127}},
                 {Vec3(0.6, -0.8, 0), {157, 86, 127}}};
    for (int k = 0; k < OCEAN_N * OCEAN_N; k++)
        gridNormals[k / OCEAN_N][k % OCEAN_N] = cases[k % 5].normal;
    static unsigned char pixels[64 * 64 * 3];
    encodeNormalMap(pixels);
    for (int k = 0; k < 64 * 64; k++)
        ASSERT_EQ(std::memcmp(&pixels[3 * k], cases[k % 5].rgb, 3), 0) << k;
}

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
            EXPECT_TRUE(front >= WAVE_SPEED * t - 2 * WAVE_CELL &&
                        front <= WAVE_SPEED * t + radius + 2 * WAVE_CELL)
                << t << " s: " << front;
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
    EXPECT_TRUE(waveField.originX == originX + 7 && waveField.originY == originY - 5);
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
