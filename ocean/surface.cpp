// OceanGrid and the per-tick surface: spectrum of the moment, three inverse FFTs, heights, choppy
// positions, normals, the closed 65 x 65 drawing grid and the normal-map bytes.
#include "ocean/rounding.h"
#include "ocean/surface.h"

#include "scene/clock.h"
#include "ocean/normal_map.h"
#include "ocean/spectrum.h"
#include "ocean/sweeps.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Cache-line aligned: the transforms and the vector loops walk these tables whole.
alignas(64) WaveVector waveVectors[OCEAN_N][OCEAN_N];
alignas(64) Complex h0[OCEAN_N][OCEAN_N];
alignas(64) Complex heightField[OCEAN_N][OCEAN_N];
alignas(64) Complex displacementX[OCEAN_N][OCEAN_N];
alignas(64) Complex displacementY[OCEAN_N][OCEAN_N];
alignas(64) PositionXY positionsXY[OCEAN_N][OCEAN_N];
alignas(64) Vec3 gridNormals[OCEAN_N][OCEAN_N];
alignas(64) Vec3 drawVertices[DRAW_GRID_N][DRAW_GRID_N];
alignas(64) Vec3 drawNormals[DRAW_GRID_N][DRAW_GRID_N];
double simulationStartTime = 0.0;
OceanTransform oceanTransform = fft2d;

float checkerSign(int n) {
    return (n % 2 == 0) ? 1.0f : -1.0f;
}

void normalize3(Vec3& v) {
    double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0) length = 1.0;
    v.x /= length;
    v.y /= length;
    v.z /= length;
}

void cross3(const Vec3& a, const Vec3& b, Vec3& c) {
    c.x = a.y * b.z - b.y * a.z;
    c.y = a.z * b.x - b.z * a.x;
    c.z = a.x * b.y - b.x * a.y;
    normalize3(c);
}

// Tables that depend only on waveVectors, made again whenever waveVectors differs from the copy they
// were made from (initSpectrum fills it once; tests may fill it themselves). Cells of rows 0 to 32
// with the same wave-vector length have the same omega and phase, so each distinct length gets one
// sine and cosine per tick (a few hundred instead of 2112); cells keep the exact values the
// per-cell formula gives them.
namespace {

const int EVOLVED_ROWS = 33;
const int HASH_SLOTS = 4096;

struct WaveTables {
    WaveVector source[OCEAN_N][OCEAN_N];
    bool made = false;
    int distinctCount = 0;
    double distinctLength[EVOLVED_ROWS * OCEAN_N];
    short lengthIndex[EVOLVED_ROWS][OCEAN_N];
    // (-kx / len, -ky / len) of the choppy displacement; the zero-length cells are listed apart.
    alignas(64) double towardX[OCEAN_N][OCEAN_N];
    alignas(64) double towardY[OCEAN_N][OCEAN_N];
    int zeroCount = 0;
    int zeroCells[OCEAN_N * OCEAN_N]; // i * 64 + j of the zero-length cells
};

WaveTables tables;
double phaseSine[EVOLVED_ROWS * OCEAN_N];
double phaseCosine[EVOLVED_ROWS * OCEAN_N];

uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void makeWaveTables() {
    std::memcpy(tables.source, waveVectors, sizeof waveVectors);
    // Lengths are matched by their bits, so equal lengths are exactly the ones that give equal phases.
    static int slotIndex[HASH_SLOTS];
    for (int& slot : slotIndex)
        slot = -1;
    tables.distinctCount = 0;
    for (int i = 0; i < EVOLVED_ROWS; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            double length = waveVectors[i][j].length;
            uint64_t bits = bitsOf(length);
            unsigned slot = static_cast<unsigned>((bits * 0x9E3779B97F4A7C15ull) >> 52) & (HASH_SLOTS - 1);
            while (slotIndex[slot] >= 0 && bitsOf(tables.distinctLength[slotIndex[slot]]) != bits)
                slot = (slot + 1) & (HASH_SLOTS - 1);
            if (slotIndex[slot] < 0) {
                slotIndex[slot] = tables.distinctCount;
                tables.distinctLength[tables.distinctCount++] = length;
            }
            tables.lengthIndex[i][j] = static_cast<short>(slotIndex[slot]);
        }
    }
    tables.zeroCount = 0;
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            double kx = waveVectors[i][j].kx, ky = waveVectors[i][j].ky;
            double length = std::sqrt(kx * kx + ky * ky);
            if (length == 0.0) tables.zeroCells[tables.zeroCount++] = i * OCEAN_N + j;
            tables.towardX[i][j] = length == 0.0 ? 0.0 : -kx / length;
            tables.towardY[i][j] = length == 0.0 ? 0.0 : -ky / length;
        }
    }
    tables.made = true;
}

// Set by advanceOcean while it runs the steps after its own check, so the tables are checked once
// a tick rather than once per step.
bool waveTablesChecked = false;

void keepWaveTablesCurrent() {
    if (waveTablesChecked) return;
    if (!tables.made || std::memcmp(tables.source, waveVectors, sizeof waveVectors) != 0) makeWaveTables();
}

} // namespace

void evolveSpectrum(double T) {
    keepWaveTablesCurrent();
    for (int k = 0; k < tables.distinctCount; k++) {
        double omega = std::sqrt(tables.distinctLength[k] * GRAVITY);
        double phase = omega * T;
        phaseSine[k] = std::sin(phase);
        phaseCosine[k] = std::cos(phase);
    }
    // The partner of (i, j) is (63 - i, 63 - j), not the true conjugate (64 - i) mod 64: the sea's look
    // depends on it. Row 32 is its own partner row and skips the partner write; row 31's partner writes
    // land in row 32 and are overwritten by row 32's own values just after.
    evolveRows(phaseSine, phaseCosine, tables.lengthIndex);
}

OceanTick computeChoppyDisplacement() {
    keepWaveTablesCurrent();
    // (0, (-k / |k|) * imag) in every cell: only the imaginary part of the spectrum of the moment enters.
    fillDisplacementSpectra(tables.towardX, tables.towardY);
    for (int k = 0; k < tables.zeroCount; k++) {
        displacementX[tables.zeroCells[k] / OCEAN_N][tables.zeroCells[k] % OCEAN_N] = {0.0, 0.0};
        displacementY[tables.zeroCells[k] / OCEAN_N][tables.zeroCells[k] % OCEAN_N] = {0.0, 0.0};
    }
    if (!oceanTransform(displacementX, OCEAN_N, OCEAN_N, -1)) return OCEAN_X_REFUSED;
    if (!oceanTransform(displacementY, OCEAN_N, OCEAN_N, -1)) return OCEAN_Y_REFUSED;
    // Times checkerSign(i + j) * CHOPPINESS.
    scaleDisplacements();
    return OCEAN_TICK_DONE;
}

void computeGridNormals(const Complex (*heights)[OCEAN_N]) {
    gridNormalRows(heights);
    // Copies, not differences across the seam.
    for (int i = 0; i < OCEAN_N; i++) {
        gridNormals[i][63] = gridNormals[i][0];
        gridNormals[63][i] = gridNormals[0][i];
    }
}

void buildDrawGrid() {
    copyDrawCells();
    // Row and column 64 repeat 0 one patch further on, so neighbouring copies of the patch meet exactly.
    for (int i = 0; i < OCEAN_N; i++) {
        drawVertices[64][i] = drawVertices[0][i];
        drawVertices[64][i].x += PATCH_LENGTH;
        drawVertices[i][64] = drawVertices[i][0];
        drawVertices[i][64].y += PATCH_LENGTH;
        drawNormals[64][i] = drawNormals[0][i];
        drawNormals[i][64] = drawNormals[i][0];
    }
    drawVertices[64][64] = drawVertices[0][0];
    drawVertices[64][64].x += PATCH_LENGTH;
    drawVertices[64][64].y += PATCH_LENGTH;
    drawNormals[64][64] = drawNormals[0][0];
}

void encodeNormalMap(unsigned char* pixels) {
    encodeNormalBytes(pixels);
}

OceanTick advanceOcean(double T) {
    keepWaveTablesCurrent();
    waveTablesChecked = true;
    evolveSpectrum(T);
    OceanTick displaced = computeChoppyDisplacement();
    if (displaced != OCEAN_TICK_DONE) return displaced;
    waveTablesChecked = false;
    // A refused height transform is not fatal: the tick goes on with what the array holds.
    oceanTransform(heightField, OCEAN_N, OCEAN_N, -1);
    // Heights times checkerSign(i + j); positionsXY = (i / 64 * 128 + x displacement, j / 64 * 128 + y
    // displacement).
    placeGridPoints();
    computeGridNormals(heightField);
    buildDrawGrid();
    return OCEAN_TICK_DONE;
}

OceanTick stepOcean() {
    double now = wallClockSeconds();
    // Minus the elapsed time: the sign fixes the direction in which the waves travel.
    double T = (simulationStartTime - now) * TIME_SCALE;
    OceanTick tick = advanceOcean(T);
    // Before the buffer exists (allocateNormalMap) there is nothing to encode into.
    if (tick == OCEAN_TICK_DONE && normalMapPixels) encodeNormalMap(normalMapPixels);
    return tick;
}
