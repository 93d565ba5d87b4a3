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

// ---- spectrum of the moment

template <bool WIDE>
CANOE_INLINE void evolve(const double* sine, const double* cosine, const short (*lengthIndex)[OCEAN_N]) {
    for (int i = 0; i <= 32; i++) {
        const Complex* own = h0[i];
        const Complex* partner = h0[63 - i];
        for (int j = 0; j < OCEAN_N; j += LANES) {
            const short* index = lengthIndex[i] + j;
            Lanes s = {sine[index[0]], sine[index[1]], sine[index[2]], sine[index[3]]};
            Lanes c = {cosine[index[0]], cosine[index[1]], cosine[index[2]], cosine[index[3]]};
#ifdef CANOE_HAVE_SHUFFLE
            Lanes o0, o1, p0, p1;
            loadLanes(o0, own + j);
            loadLanes(o1, own + j + 2);
            // Partner cells 63 - j down to 60 - j: columns 60 - j .. 63 - j, read back to front.
            loadLanes(p0, partner + 60 - j);
            loadLanes(p1, partner + 62 - j);
            Lanes a = __builtin_shufflevector(o0, o1, 0, 2, 4, 6),
                  b = __builtin_shufflevector(o0, o1, 1, 3, 5, 7);
            Lanes pc = __builtin_shufflevector(p0, p1, 6, 4, 2, 0),
                  d = __builtin_shufflevector(p0, p1, 7, 5, 3, 1);
#else
            Lanes a, b, pc, d;
            for (int lane = 0; lane < LANES; lane++) {
                a[lane] = own[j + lane].real, b[lane] = own[j + lane].imag;
                pc[lane] = partner[63 - j - lane].real, d[lane] = partner[63 - j - lane].imag;
            }
#endif
            Lanes re = c * a + s * b + c * pc - s * d;
            Lanes im = c * b + s * a - c * d - s * pc;
#ifdef CANOE_HAVE_SHUFFLE
            storeLanes(heightField[i] + j, __builtin_shufflevector(re, im, 0, 4, 1, 5));
            storeLanes(heightField[i] + j + 2, __builtin_shufflevector(re, im, 2, 6, 3, 7));
            if (i != 32) {
                storeLanes(heightField[63 - i] + 60 - j, __builtin_shufflevector(im, re, 3, 7, 2, 6));
                storeLanes(heightField[63 - i] + 62 - j, __builtin_shufflevector(im, re, 1, 5, 0, 4));
            }
#else
            for (int lane = 0; lane < LANES; lane++) {
                heightField[i][j + lane] = {re[lane], im[lane]};
                if (i != 32) heightField[63 - i][63 - j - lane] = {im[lane], re[lane]};
            }
#endif
        }
    }
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

// ---- drawing grid

template <bool WIDE> CANOE_INLINE void copyCells() {
    for (int i = 0; i < OCEAN_N; i++) {
        std::memcpy(drawNormals[i], gridNormals[i], sizeof gridNormals[i]);
        for (int j = 0; j < OCEAN_N; j += LANES) {
#ifdef CANOE_HAVE_SHUFFLE
            char* vertices = reinterpret_cast<char*>(drawVertices[i]);
            // Four cells: (x0 y0 z0 x1) (y1 z1 x2 y2) (z2 x3 y3 z3).
            Lanes p0, p1, z;
            std::memcpy(&p0, &positionsXY[i][j], sizeof p0);
            std::memcpy(&p1, &positionsXY[i][j + 2], sizeof p1);
            loadRealParts(z, heightField[i] + j);
            Lanes v0 = __builtin_shufflevector(p0, z, 0, 1, 4, 2);
            Lanes yz = __builtin_shufflevector(p0, z, 3, 5, 3, 5);
            Lanes v1 = __builtin_shufflevector(yz, p1, 0, 1, 4, 5);
            Lanes v2 = __builtin_shufflevector(p1, z, 6, 2, 3, 7);
            std::memcpy(vertices + j * sizeof(Vec3), &v0, sizeof v0);
            std::memcpy(vertices + j * sizeof(Vec3) + sizeof v0, &v1, sizeof v1);
            std::memcpy(vertices + j * sizeof(Vec3) + 2 * sizeof v0, &v2, sizeof v2);
#else
            for (int k = j; k < j + LANES; k++)
                drawVertices[i][k] = Vec3(positionsXY[i][k].x, positionsXY[i][k].y, heightField[i][k].real);
#endif
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
        // normalize3: a length of exactly 0 is taken as 1.
        Lanes length = r.length[k] == 0.0 ? Lanes{1.0, 1.0, 1.0, 1.0} : r.length[k];
        Lanes nx = r.cx[k] / length, ny = r.cy[k] / length, nz = cz / length;
#ifdef CANOE_HAVE_SHUFFLE
        // Four Vec3 in a row: (x0 y0 z0 x1) (y1 z1 x2 y2) (z2 x3 y3 z3).
        char* out = reinterpret_cast<char*>(normals);
        Lanes xy01 = __builtin_shufflevector(nx, ny, 0, 4, 1, 5);
        Lanes xy23 = __builtin_shufflevector(nx, ny, 2, 6, 3, 7);
        Lanes yz1 = __builtin_shufflevector(ny, nz, 1, 5, 1, 5);
        Lanes v0 = __builtin_shufflevector(xy01, nz, 0, 1, 4, 2);
        Lanes v1 = __builtin_shufflevector(yz1, xy23, 0, 1, 4, 5);
        Lanes v2 = __builtin_shufflevector(xy23, nz, 6, 2, 3, 7);
        std::memcpy(out + LANES * k * sizeof(Vec3), &v0, sizeof v0);
        std::memcpy(out + LANES * k * sizeof(Vec3) + sizeof v0, &v1, sizeof v1);
        std::memcpy(out + LANES * k * sizeof(Vec3) + 2 * sizeof v0, &v2, sizeof v2);
#else
        for (int lane = 0; lane < LANES; lane++)
            normals[LANES * k + lane] = Vec3(nx[lane], ny[lane], nz[lane]);
#endif
    }
}

// The square roots of a row's lengths, in each build's own function: the AVX instruction may only be
// inlined into a function compiled for AVX.
template <bool WIDE> void sqrtRow(NormalRow& r);

template <> void sqrtRow<false>(NormalRow& r) {
    for (Lanes& length : r.length)
        sqrtLanesPlain(length);
}

#ifdef CANOE_HAVE_AVX_BUILD
template <> CANOE_AVX_BUILD void sqrtRow<true>(NormalRow& r) {
    for (Lanes& length : r.length)
        sqrtLanesAvx(length);
}
#endif

template <bool WIDE> CANOE_INLINE void normalRows(const Complex* heights) {
    alignas(LANES_ALIGNMENT) NormalRow r;
    for (int i = 0; i < OCEAN_N - 1; i++) {
        crossRow(heights + i * OCEAN_N, r);
        sqrtRow<WIDE>(r);
        normalizeRow(r, gridNormals[i]);
    }
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

CANOE_BOTH_BUILDS(evolve, (const double* sine, const double* cosine, const short (*lengthIndex)[OCEAN_N]),
                  (sine, cosine, lengthIndex))
CANOE_BOTH_BUILDS(copyCells, (), ())
CANOE_BOTH_BUILDS(fillSpectra, (const double (*towardX)[OCEAN_N], const double (*towardY)[OCEAN_N]),
                  (towardX, towardY))
CANOE_BOTH_BUILDS(scaleBoth, (), ())
CANOE_BOTH_BUILDS(placePoints, (), ())
CANOE_BOTH_BUILDS(normalRows, (const Complex* heights), (heights))
CANOE_BOTH_BUILDS(encodeNormals, (unsigned char* pixels), (pixels))

} // namespace

void evolveRows(const double* sine, const double* cosine, const short (*lengthIndex)[OCEAN_N]) {
    evolveBuild(sine, cosine, lengthIndex);
}

void copyDrawCells() {
    copyCellsBuild();
}

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
