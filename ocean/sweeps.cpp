// The whole-table loops of the ocean tick, four cells at a time. Each template is compiled twice,
// plain and (where the processor has it) AVX; useAvxBuild picks one.
#include "ocean/sweeps.h"

#include "ocean/lanes.h"
#include "ocean/normal_map.h"

#include <cstring>

// name<false> and name<true> as two functions, and nameBuild, which runs the one useAvxBuild picks.
#ifdef CANOE_HAVE_AVX_BUILD
#define CANOE_BOTH_BUILDS(name, Params, args)                                                                \
    void name##Plain Params {                                                                                \
        name<false> args;                                                                                    \
    }                                                                                                        \
    CANOE_AVX_BUILD void name##Avx Params {                                                                  \
        name<true> args;                                                                                     \
    }                                                                                                        \
    void name##Build Params {                                                                                \
        if (useAvxBuild)                                                                                     \
            name##Avx args;                                                                                  \
        else                                                                                                 \
            name##Plain args;                                                                                \
    }
#else
#define CANOE_BOTH_BUILDS(name, Params, args)                                                                \
    void name##Plain Params {                                                                                \
        name<false> args;                                                                                    \
    }                                                                                                        \
    void name##Build Params {                                                                                \
        name##Plain args;                                                                                    \
    }
#endif

namespace {

const Lanes ZERO_LANES = {0.0, 0.0, 0.0, 0.0};

CANOE_INLINE void loadDoubles(Lanes& v, const double* p) {
    std::memcpy(&v, p, sizeof v);
}

// ---- choppy displacement spectra

template <bool WIDE>
CANOE_INLINE void fillSpectra(const double (*towardX)[OCEAN_N], const double (*towardY)[OCEAN_N]) {
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j += LANES) {
#ifdef CANOE_HAVE_SHUFFLE
            Lanes a, b, tx, ty;
            loadLanes(a, heightField[i] + j);
            loadLanes(b, heightField[i] + j + 2);
            Lanes amplitude = __builtin_shufflevector(a, b, 1, 3, 5, 7);
            loadDoubles(tx, towardX[i] + j);
            loadDoubles(ty, towardY[i] + j);
            Lanes dx = tx * amplitude, dy = ty * amplitude;
            storeLanes(displacementX[i] + j, __builtin_shufflevector(ZERO_LANES, dx, 0, 4, 1, 5));
            storeLanes(displacementX[i] + j + 2, __builtin_shufflevector(ZERO_LANES, dx, 2, 6, 3, 7));
            storeLanes(displacementY[i] + j, __builtin_shufflevector(ZERO_LANES, dy, 0, 4, 1, 5));
            storeLanes(displacementY[i] + j + 2, __builtin_shufflevector(ZERO_LANES, dy, 2, 6, 3, 7));
#else
            for (int k = j; k < j + LANES; k++) {
                displacementX[i][k] = {0.0, towardX[i][k] * heightField[i][k].imag};
                displacementY[i][k] = {0.0, towardY[i][k] * heightField[i][k].imag};
            }
#endif
        }
    }
}

template <bool WIDE> CANOE_INLINE void scaleBoth() {
    for (int i = 0; i < OCEAN_N; i++) {
        // Two cells a vector: columns j (parity of i) and j + 1 (the other parity).
        const double even = checkerSign(i) * CHOPPINESS, odd = checkerSign(i + 1) * CHOPPINESS;
        const Lanes scale = {even, even, odd, odd};
        for (int j = 0; j < OCEAN_N; j += 2) {
            Lanes x, y;
            loadLanes(x, displacementX[i] + j);
            loadLanes(y, displacementY[i] + j);
            storeLanes(displacementX[i] + j, x * scale);
            storeLanes(displacementY[i] + j, y * scale);
        }
    }
}

// ---- heights and positions

template <bool WIDE> CANOE_INLINE void placePoints() {
    for (int i = 0; i < OCEAN_N; i++) {
        const double even = checkerSign(i), odd = checkerSign(i + 1);
        const Lanes sign = {even, 1.0, odd, 1.0};
        const double rowBase = (i / 64.0) * PATCH_LENGTH;
        for (int j = 0; j < OCEAN_N; j += 2) {
            Lanes h, dx, dy;
            loadLanes(h, heightField[i] + j);
            loadLanes(dx, displacementX[i] + j);
            loadLanes(dy, displacementY[i] + j);
            const Lanes base = {rowBase, (j / 64.0) * PATCH_LENGTH, rowBase, ((j + 1) / 64.0) * PATCH_LENGTH};
#ifdef CANOE_HAVE_SHUFFLE
            // The real parts take the sign; the imaginary parts are kept as they are, not multiplied.
            storeLanes(heightField[i] + j, __builtin_shufflevector(h * sign, h, 0, 5, 2, 7));
            Lanes moved = base + __builtin_shufflevector(dx, dy, 1, 5, 3, 7);
#else
            Lanes signed_ = h * sign;
            heightField[i][j].real = signed_[0];
            heightField[i][j + 1].real = signed_[2];
            Lanes moved = base + Lanes{dx[1], dy[1], dx[3], dy[3]};
#endif
            std::memcpy(&positionsXY[i][j], &moved, sizeof moved);
        }
    }
}

// ---- normals

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

// The square roots are taken here, in each build's own function: the AVX instruction may only be
// inlined into a function compiled for AVX.
void normalRowsPlain(const Complex* heights) {
    alignas(LANES_ALIGNMENT) NormalRow r;
    for (int i = 0; i < OCEAN_N - 1; i++) {
        crossRow(heights + i * OCEAN_N, r);
        for (Lanes& length : r.length)
            sqrtLanesPlain(length);
        normalizeRow(r, gridNormals[i]);
    }
}

#ifdef CANOE_HAVE_AVX_BUILD
CANOE_AVX_BUILD void normalRowsAvx(const Complex* heights) {
    alignas(LANES_ALIGNMENT) NormalRow r;
    for (int i = 0; i < OCEAN_N - 1; i++) {
        crossRow(heights + i * OCEAN_N, r);
        for (Lanes& length : r.length)
            sqrtLanesAvx(length);
        normalizeRow(r, gridNormals[i]);
    }
}
#endif

void normalRowsBuild(const Complex* heights) {
#ifdef CANOE_HAVE_AVX_BUILD
    if (useAvxBuild) return normalRowsAvx(heights);
#endif
    normalRowsPlain(heights);
}

// ---- normal-map bytes

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

CANOE_BOTH_BUILDS(fillSpectra, (const double (*towardX)[OCEAN_N], const double (*towardY)[OCEAN_N]),
                  (towardX, towardY))
CANOE_BOTH_BUILDS(scaleBoth, (), ())
CANOE_BOTH_BUILDS(placePoints, (), ())
CANOE_BOTH_BUILDS(encodeNormals, (unsigned char* pixels), (pixels))

} // namespace

void fillDisplacementSpectra(const double (*towardX)[OCEAN_N], const double (*towardY)[OCEAN_N]) {
    fillSpectraBuild(towardX, towardY);
}

void scaleDisplacements() {
    scaleBothBuild();
}

void placeGridPoints() {
    placePointsBuild();
}

void gridNormalRows(const Complex (*heights)[OCEAN_N]) {
    // The last row reads the first height of the row after it: the table must be whole, 64 x 64.
    normalRowsBuild(&heights[0][0]);
}

void encodeNormalBytes(unsigned char* pixels) {
    static_assert(sizeof(gridNormals) == NORMAL_MAP_BYTES * sizeof(double), "one double per byte");
    encodeNormalsBuild(pixels);
}
