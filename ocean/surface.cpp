// OceanGrid and the per-tick surface: spectrum of the moment, three inverse FFTs, heights, choppy
// positions, normals, the closed 65 x 65 drawing grid and the normal-map bytes. No GL here except
// through uploadNormalMap, which stepOcean calls last.
#include "ocean/surface.h"

#include "app/clock.h"
#include "ocean/lanes.h"
#include "ocean/normal_map.h"
#include "ocean/spectrum.h"

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
    // (-kx / len, -ky / len) of the choppy displacement; zero-length cells are flagged instead.
    double towardX[OCEAN_N][OCEAN_N];
    double towardY[OCEAN_N][OCEAN_N];
    bool zeroLength[OCEAN_N][OCEAN_N];
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
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            double kx = waveVectors[i][j].kx, ky = waveVectors[i][j].ky;
            double length = std::sqrt(kx * kx + ky * ky);
            tables.zeroLength[i][j] = length == 0.0;
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
    for (int i = 0; i < EVOLVED_ROWS; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            double s = phaseSine[tables.lengthIndex[i][j]], c = phaseCosine[tables.lengthIndex[i][j]];
            // The partner is (63 - i, 63 - j), not the true conjugate (64 - i) mod 64: the sea's look
            // depends on it.
            const Complex& own = h0[i][j];
            const Complex& partner = h0[63 - i][63 - j];
            double re = c * own.real + s * own.imag + c * partner.real - s * partner.imag;
            double im = c * own.imag + s * own.real - c * partner.imag - s * partner.real;
            heightField[i][j].real = re;
            heightField[i][j].imag = im;
            // Row 32 is its own partner row and skips the partner write; row 31's partner writes land in
            // row 32 and are overwritten by row 32's own values just after.
            if (i != 32) {
                heightField[63 - i][63 - j].real = im;
                heightField[63 - i][63 - j].imag = re;
            }
        }
    }
}

void computeChoppyDisplacement() {
    keepWaveTablesCurrent();
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            // Only the imaginary part of the spectrum of the moment enters.
            double amplitude = heightField[i][j].imag;
            displacementX[i][j] = {0.0, tables.towardX[i][j] * amplitude};
            displacementY[i][j] = {0.0, tables.towardY[i][j] * amplitude};
            if (tables.zeroLength[i][j]) {
                displacementX[i][j].imag = 0.0;
                displacementY[i][j].imag = 0.0;
            }
        }
    }
    if (!oceanTransform(displacementX, OCEAN_N, OCEAN_N, -1)) {
        std::printf("false on DXFFT\n");
        std::exit(0);
    }
    if (!oceanTransform(displacementY, OCEAN_N, OCEAN_N, -1)) {
        std::printf("false on DYFFT\n");
        std::exit(0);
    }
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            double scale = checkerSign(i + j) * CHOPPINESS;
            displacementX[i][j].real *= scale;
            displacementX[i][j].imag *= scale;
            displacementY[i][j].real *= scale;
            displacementY[i][j].imag *= scale;
        }
    }
}

namespace {

// The normals of rows 0 to 62, four cells of a row at a time: each lane goes through exactly the
// operations of cross3 ((2, 0, uz) x (0, 2, vz)) and normalize3. Column 63 is computed too (from the
// first height of the next row) and then replaced by its copy of column 0. The square roots are taken
// by the caller, in its own build.
const int ROW_VECTORS = OCEAN_N / LANES;

struct NormalRow {
    Lanes cx[ROW_VECTORS], cy[ROW_VECTORS], length[ROW_VECTORS];
};

CANOE_INLINE void crossRow(const Complex* row, NormalRow& r) {
    for (int k = 0; k < ROW_VECTORS; k++) {
        Lanes here, along, across;
        loadRealParts(here, row + LANES * k);
        loadRealParts(along, row + OCEAN_N + LANES * k);
        loadRealParts(across, row + LANES * k + 1);
        Lanes uz = (along - here) * HEIGHT_SCALE;
        Lanes vz = (across - here) * HEIGHT_SCALE;
        // u = (2, 0, uz), v = (0, 2, vz): c = (u.y v.z - v.y u.z, u.z v.x - v.z u.x, u.x v.y - v.x u.y).
        r.cx[k] = 0.0 * vz - GRID_SPACING * uz;
        r.cy[k] = uz * 0.0 - vz * GRID_SPACING;
        const double cz = GRID_SPACING * GRID_SPACING - 0.0 * 0.0;
        r.length[k] = r.cx[k] * r.cx[k] + r.cy[k] * r.cy[k] + cz * cz;
    }
}

CANOE_INLINE void normalizeRow(NormalRow& r, Vec3* normals) {
    const double cz = GRID_SPACING * GRID_SPACING - 0.0 * 0.0;
    for (int k = 0; k < ROW_VECTORS; k++) {
        Lanes length = r.length[k];
        for (int lane = 0; lane < LANES; lane++)
            if (length[lane] == 0.0) length[lane] = 1.0;
        Lanes nx = r.cx[k] / length, ny = r.cy[k] / length, nz = cz / length;
        for (int lane = 0; lane < LANES; lane++) {
            Vec3& n = normals[LANES * k + lane];
            n.x = nx[lane];
            n.y = ny[lane];
            n.z = nz[lane];
        }
    }
}

void gridNormalRowsPlain(const Complex* heights) {
    alignas(LANES_ALIGNMENT) NormalRow r;
    for (int i = 0; i < OCEAN_N - 1; i++) {
        crossRow(heights + i * OCEAN_N, r);
        for (Lanes& length : r.length)
            sqrtLanesPlain(length);
        normalizeRow(r, gridNormals[i]);
    }
}

#ifdef CANOE_HAVE_AVX_BUILD
CANOE_AVX_BUILD void gridNormalRowsAvx(const Complex* heights) {
    alignas(LANES_ALIGNMENT) NormalRow r;
    for (int i = 0; i < OCEAN_N - 1; i++) {
        crossRow(heights + i * OCEAN_N, r);
        for (Lanes& length : r.length)
            sqrtLanesAvx(length);
        normalizeRow(r, gridNormals[i]);
    }
}
#endif

} // namespace

void computeGridNormals(const Complex (*heights)[OCEAN_N]) {
    // The last row reads the first height of the row after it: the table must be whole, 64 x 64.
#ifdef CANOE_HAVE_AVX_BUILD
    if (useAvxBuild)
        gridNormalRowsAvx(&heights[0][0]);
    else
#endif
        gridNormalRowsPlain(&heights[0][0]);
    // Copies, not differences across the seam.
    for (int i = 0; i < OCEAN_N; i++) {
        gridNormals[i][63] = gridNormals[i][0];
        gridNormals[63][i] = gridNormals[0][i];
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

namespace {

// gridNormals is 4096 x 3 doubles in texel order, x y z of each: byte k of the image comes from double
// k, so the encoding is one pass over a flat array, four values at a time.
// Four values of the normals as bytes: 0.4f c 127 + 127, truncated toward zero, low 8 bits.
CANOE_INLINE void encodeLanes(const char* normals, int k, Lanes& value) {
    const double factor = 0.4f;
    std::memcpy(&value, normals + k * sizeof(double), sizeof value);
    value = factor * value * 127.0 + 127.0;
}

template <bool WIDE> CANOE_INLINE void encodeNormals(unsigned char* pixels) {
    const char* normals = reinterpret_cast<const char*>(&gridNormals[0][0]);
    const int GROUP = 4 * LANES; // sixteen bytes a store
    for (int k = 0; k < NORMAL_MAP_BYTES; k += GROUP) {
        Lanes v0, v1, v2, v3;
        encodeLanes(normals, k, v0);
        encodeLanes(normals, k + LANES, v1);
        encodeLanes(normals, k + 2 * LANES, v2);
        encodeLanes(normals, k + 3 * LANES, v3);
#if defined(CANOE_HAVE_CONVERT) && defined(CANOE_HAVE_SHUFFLE) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        // The conversion truncates toward zero, as the scalar one does; the low byte of each int follows.
        Bytes16 i0 = reinterpret_cast<Bytes16>(__builtin_convertvector(v0, IntLanes));
        Bytes16 i1 = reinterpret_cast<Bytes16>(__builtin_convertvector(v1, IntLanes));
        Bytes16 i2 = reinterpret_cast<Bytes16>(__builtin_convertvector(v2, IntLanes));
        Bytes16 i3 = reinterpret_cast<Bytes16>(__builtin_convertvector(v3, IntLanes));
        Bytes8 low = __builtin_shufflevector(i0, i1, 0, 4, 8, 12, 16, 20, 24, 28);
        Bytes8 high = __builtin_shufflevector(i2, i3, 0, 4, 8, 12, 16, 20, 24, 28);
        Bytes16 bytes =
            __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        std::memcpy(pixels + k, &bytes, sizeof bytes);
#else
        const Lanes* values[4] = {&v0, &v1, &v2, &v3};
        for (int lane = 0; lane < GROUP; lane++)
            pixels[k + lane] =
                static_cast<unsigned char>(static_cast<int>((*values[lane / LANES])[lane % LANES]));
#endif
    }
}

void encodeNormalsPlain(unsigned char* pixels) {
    encodeNormals<false>(pixels);
}

#ifdef CANOE_HAVE_AVX_BUILD
CANOE_AVX_BUILD void encodeNormalsAvx(unsigned char* pixels) {
    encodeNormals<true>(pixels);
}
#endif

} // namespace

void encodeNormalMap(unsigned char* pixels) {
    static_assert(sizeof(gridNormals) == NORMAL_MAP_BYTES * sizeof(double), "one double per byte");
#ifdef CANOE_HAVE_AVX_BUILD
    if (useAvxBuild)
        encodeNormalsAvx(pixels);
    else
#endif
        encodeNormalsPlain(pixels);
}

void advanceOcean(double T) {
    keepWaveTablesCurrent();
    waveTablesChecked = true;
    evolveSpectrum(T);
    computeChoppyDisplacement();
    waveTablesChecked = false;
    // A refused height transform is not fatal: the tick goes on with what the array holds.
    oceanTransform(heightField, OCEAN_N, OCEAN_N, -1);
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            heightField[i][j].real = checkerSign(i + j) * heightField[i][j].real;
            positionsXY[i][j].x = (i / 64.0) * PATCH_LENGTH + displacementX[i][j].imag;
            positionsXY[i][j].y = (j / 64.0) * PATCH_LENGTH + displacementY[i][j].imag;
        }
    }
    computeGridNormals(heightField);
    buildDrawGrid();
}

void stepOcean() {
    double now = wallClockSeconds();
    // Minus the elapsed time: the sign fixes the direction in which the waves travel.
    double T = (simulationStartTime - now) * TIME_SCALE;
    advanceOcean(T);
    uploadNormalMap();
}
