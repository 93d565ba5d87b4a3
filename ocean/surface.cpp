// OceanGrid and the per-tick surface: spectrum of the moment, three inverse FFTs, heights, choppy
// positions, normals, the closed 65 x 65 drawing grid and the normal-map bytes.
#include "ocean/surface.h"

#include "scene/clock.h"
#include "ocean/normal_map.h"
#include "ocean/spectrum.h"

#include <cmath>

WaveVector waveVectors[OCEAN_N][OCEAN_N];
Complex h0[OCEAN_N][OCEAN_N];
Complex heightField[OCEAN_N][OCEAN_N];
Complex displacementX[OCEAN_N][OCEAN_N];
Complex displacementY[OCEAN_N][OCEAN_N];
PositionXY positionsXY[OCEAN_N][OCEAN_N];
Vec3 gridNormals[OCEAN_N][OCEAN_N];
Vec3 drawVertices[DRAW_GRID_N][DRAW_GRID_N];
Vec3 drawNormals[DRAW_GRID_N][DRAW_GRID_N];
double simulationStartTime = 0.0;
OceanTransform oceanTransform = fft2d;

float checkerSign(int n) {
    return (n % 2 == 0) ? 1.0f : -1.0f;
}

void evolveSpectrum(double T) {
    // The partner of (i, j) is (63 - i, 63 - j), not the true conjugate (64 - i) mod 64: the sea's look
    // depends on it. Row 32 is its own partner row and skips the partner write; row 31's partner writes
    // land in row 32 and are overwritten by row 32's own values just after.
    for (int i = 0; i <= 32; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            double omega = std::sqrt(waveVectors[i][j].length * GRAVITY);
            double s = std::sin(omega * T), c = std::cos(omega * T);
            double a = h0[i][j].real, b = h0[i][j].imag;
            double pc = h0[63 - i][63 - j].real, d = h0[63 - i][63 - j].imag;
            double re = c * a + s * b + c * pc - s * d;
            double im = c * b + s * a - c * d - s * pc;
            heightField[i][j] = {re, im};
            if (i != 32) heightField[63 - i][63 - j] = {im, re};
        }
    }
}

OceanTick computeChoppyDisplacement() {
    // Only the imaginary part of the spectrum of the moment enters.
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            double kx = waveVectors[i][j].kx, ky = waveVectors[i][j].ky;
            double length = std::sqrt(kx * kx + ky * ky);
            double amplitude = heightField[i][j].imag;
            displacementX[i][j] = {0.0, length == 0.0 ? 0.0 : (-kx / length) * amplitude};
            displacementY[i][j] = {0.0, length == 0.0 ? 0.0 : (-ky / length) * amplitude};
        }
    }
    if (!oceanTransform(displacementX, OCEAN_N, OCEAN_N, -1)) return OCEAN_X_REFUSED;
    if (!oceanTransform(displacementY, OCEAN_N, OCEAN_N, -1)) return OCEAN_Y_REFUSED;
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            double scale = checkerSign(i + j) * CHOPPINESS;
            displacementX[i][j].real *= scale;
            displacementX[i][j].imag *= scale;
            displacementY[i][j].real *= scale;
            displacementY[i][j].imag *= scale;
        }
    }
    return OCEAN_TICK_DONE;
}

void computeGridNormals(const Complex (*heights)[OCEAN_N]) {
    for (int i = 0; i < OCEAN_N - 1; i++) {
        for (int j = 0; j < OCEAN_N - 1; j++) {
            Vec3 u(GRID_SPACING, 0.0, (heights[i + 1][j].real - heights[i][j].real) * HEIGHT_SCALE);
            Vec3 v(0.0, GRID_SPACING, (heights[i][j + 1].real - heights[i][j].real) * HEIGHT_SCALE);
            gridNormals[i][j] = unitVector(cross(u, v));
        }
    }
    // Copies, not differences across the seam.
    for (int k = 0; k < OCEAN_N; k++) {
        gridNormals[k][63] = gridNormals[k][0];
        gridNormals[63][k] = gridNormals[0][k];
    }
}

void buildDrawGrid() {
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            drawVertices[i][j] = Vec3(positionsXY[i][j].x, positionsXY[i][j].y, heightField[i][j].real);
            drawNormals[i][j] = gridNormals[i][j];
        }
    }
    // Row and column 64 repeat 0 one patch further on, so neighbouring copies of the patch meet exactly.
    for (int k = 0; k < OCEAN_N; k++) {
        drawVertices[64][k] = drawVertices[0][k];
        drawVertices[64][k].x += PATCH_LENGTH;
        drawVertices[k][64] = drawVertices[k][0];
        drawVertices[k][64].y += PATCH_LENGTH;
        drawNormals[64][k] = drawNormals[0][k];
        drawNormals[k][64] = drawNormals[k][0];
    }
    drawVertices[64][64] = drawVertices[0][0];
    drawVertices[64][64].x += PATCH_LENGTH;
    drawVertices[64][64].y += PATCH_LENGTH;
    drawNormals[64][64] = drawNormals[0][0];
}

void encodeNormalMap(unsigned char* pixels) {
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            const double components[3] = {gridNormals[i][j].x, gridNormals[i][j].y, gridNormals[i][j].z};
            for (int c = 0; c < 3; c++)
                pixels[3 * (OCEAN_N * i + j) + c] =
                    static_cast<unsigned char>(static_cast<int>(0.4f * components[c] * 127.0 + 127.0));
        }
    }
}

OceanTick advanceOcean(double T) {
    evolveSpectrum(T);
    OceanTick displaced = computeChoppyDisplacement();
    if (displaced != OCEAN_TICK_DONE) return displaced;
    // A refused height transform is not fatal: the tick goes on with what the array holds.
    oceanTransform(heightField, OCEAN_N, OCEAN_N, -1);
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            heightField[i][j].real *= checkerSign(i + j);
            positionsXY[i][j] = {(i / 64.0) * PATCH_LENGTH + displacementX[i][j].imag,
                                 (j / 64.0) * PATCH_LENGTH + displacementY[i][j].imag};
        }
    }
    computeGridNormals(heightField);
    buildDrawGrid();
    return OCEAN_TICK_DONE;
}

OceanTick stepOcean() {
    // Minus the elapsed time: the sign fixes the direction in which the waves travel.
    double T = (simulationStartTime - wallClockSeconds()) * TIME_SCALE;
    OceanTick tick = advanceOcean(T);
    // Before the buffer exists (allocateNormalMap) there is nothing to encode into.
    if (tick == OCEAN_TICK_DONE && normalMapPixels) encodeNormalMap(normalMapPixels);
    return tick;
}
