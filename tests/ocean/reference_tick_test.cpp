// The tick as plainly written (per-cell sine, cosine and square roots, each line transformed on its own
// through fft1d, scalar normals) is kept here as the reference: the tick the program runs must give
// the same bits in every table.
#include "ocean/fft.h"
#include "ocean/lanes.h"
#include "ocean/spectrum.h"
#include "ocean/surface.h"
#include "plain_fft.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

struct Sea {
    Complex height[64][64], dx[64][64], dy[64][64];
    PositionXY positions[64][64];
    Vec3 normals[64][64];
    Vec3 vertices[65][65], drawn[65][65];
    unsigned char pixels[64 * 64 * 3];
};

void referenceTick(double T, Sea& sea) {
    for (int i = 0; i <= 32; i++) {
        for (int j = 0; j < 64; j++) {
            double omega = std::sqrt(waveVectors[i][j].length * GRAVITY);
            double s = std::sin(omega * T), c = std::cos(omega * T);
            double a = h0[i][j].real, b = h0[i][j].imag, pc = h0[63 - i][63 - j].real,
                   d = h0[63 - i][63 - j].imag;
            double re = c * a + s * b + c * pc - s * d;
            double im = c * b + s * a - c * d - s * pc;
            sea.height[i][j] = {re, im};
            if (i != 32) sea.height[63 - i][63 - j] = {im, re};
        }
    }
    for (int i = 0; i < 64; i++) {
        for (int j = 0; j < 64; j++) {
            double kx = waveVectors[i][j].kx, ky = waveVectors[i][j].ky;
            double length = std::sqrt(kx * kx + ky * ky), im = sea.height[i][j].imag;
            sea.dx[i][j] = {0.0, length == 0.0 ? 0.0 : (-kx / length) * im};
            sea.dy[i][j] = {0.0, length == 0.0 ? 0.0 : (-ky / length) * im};
        }
    }
    fft2dOneLineAtATime(sea.dx, 64, 64, -1);
    fft2dOneLineAtATime(sea.dy, 64, 64, -1);
    fft2dOneLineAtATime(sea.height, 64, 64, -1);
    for (int i = 0; i < 64; i++) {
        for (int j = 0; j < 64; j++) {
            double sign = (i + j) % 2 == 0 ? 1.0 : -1.0;
            for (Complex* d : {&sea.dx[i][j], &sea.dy[i][j]})
                d->real *= sign * 0.29, d->imag *= sign * 0.29;
            sea.height[i][j].real = sign * sea.height[i][j].real;
            sea.positions[i][j] = {(i / 64.0) * 128.0 + sea.dx[i][j].imag,
                                   (j / 64.0) * 128.0 + sea.dy[i][j].imag};
        }
    }
    for (int i = 0; i < 63; i++) {
        for (int j = 0; j < 63; j++) {
            Vec3 u(2.0, 0.0, (sea.height[i + 1][j].real - sea.height[i][j].real) * 0.1);
            Vec3 v(0.0, 2.0, (sea.height[i][j + 1].real - sea.height[i][j].real) * 0.1);
            cross3(u, v, sea.normals[i][j]);
        }
    }
    for (int i = 0; i < 64; i++) {
        sea.normals[i][63] = sea.normals[i][0];
        sea.normals[63][i] = sea.normals[0][i];
    }
    for (int i = 0; i < 64; i++) {
        for (int j = 0; j < 64; j++) {
            sea.vertices[i][j] = Vec3(sea.positions[i][j].x, sea.positions[i][j].y, sea.height[i][j].real);
            sea.drawn[i][j] = sea.normals[i][j];
        }
    }
    for (int i = 0; i < 64; i++) {
        sea.vertices[64][i] = sea.vertices[0][i] + Vec3(128.0, 0.0, 0.0);
        sea.vertices[i][64] = sea.vertices[i][0] + Vec3(0.0, 128.0, 0.0);
        sea.drawn[64][i] = sea.drawn[0][i];
        sea.drawn[i][64] = sea.drawn[i][0];
    }
    sea.vertices[64][64] = sea.vertices[0][0] + Vec3(128.0, 128.0, 0.0);
    sea.drawn[64][64] = sea.drawn[0][0];
    const double* n = &sea.normals[0][0].x; // byte k of the image comes from double k
    for (int k = 0; k < 64 * 64 * 3; k++)
        sea.pixels[k] = static_cast<unsigned char>(static_cast<int>(0.4f * n[k] * 127.0 + 127.0));
}

// The name of the first of the program's tables (normal map included) that differs from the plain
// tick's by a bit, or "".
const char* firstDifference(const Sea& sea) {
    static unsigned char pixels[64 * 64 * 3];
    encodeNormalMap(pixels);
    if (std::memcmp(sea.pixels, pixels, sizeof sea.pixels) != 0) return "pixels";
    if (!sameBits(sea.height, heightField)) return "heightField";
    if (!sameBits(sea.dx, displacementX)) return "displacementX";
    if (!sameBits(sea.dy, displacementY)) return "displacementY";
    if (!sameBits(sea.positions, positionsXY)) return "positionsXY";
    if (!sameBits(sea.normals, gridNormals)) return "gridNormals";
    if (!sameBits(sea.vertices, drawVertices)) return "drawVertices";
    if (!sameBits(sea.drawn, drawNormals)) return "drawNormals";
    return "";
}

TEST(ReferenceTick, EveryTableBitIdenticalToThePlainForm) {
    static Sea sea;
    for (bool avx : {true, false}) {
        useAvxBuild = avx && processorHasAvx();
        for (unsigned seed : {1u, 1733443200u}) {
            seedRandom(seed);
            initSpectrum();
            for (double T : {0.0, -0.016, -1.5, -61.25, -3600.0, -86400.5}) {
                referenceTick(T, sea);
                advanceOcean(T);
                EXPECT_STREQ(firstDifference(sea), "")
                    << (avx ? "AVX" : "plain") << " build, seed " << seed << " T " << T;
            }
        }
    }
    useAvxBuild = processorHasAvx();
}

TEST(ReferenceTick, FollowsWaveVectorsChangedInPlace) {
    static Sea sea;
    seedRandom(9);
    initSpectrum();
    advanceOcean(-2.0);
    // Tables derived from the wave vectors (made by the tick above) must not outlive a change to them.
    for (int i = 0; i < 64; i++)
        for (int j = 0; j < 64; j++) {
            waveVectors[i][j].kx *= 1.5;
            waveVectors[i][j].length *= 1.25;
        }
    referenceTick(-2.0, sea);
    advanceOcean(-2.0);
    EXPECT_STREQ(firstDifference(sea), "");
}

} // namespace
