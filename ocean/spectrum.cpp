// The random generator and the Phillips spectrum that give the sea its initial amplitudes.
#include "ocean/spectrum.h"

#include "ocean/surface.h"

#include <cmath>
#include <cstdint>

namespace {
uint32_t randomState = 1;
}

void seedRandom(unsigned int seed) {
    randomState = static_cast<uint32_t>(seed);
}

int nextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 32767u);
}

double uniformRandom() {
    return nextRandom() / 32767.0;
}

void gaussianPair(double pair[2]) {
    double a, b, s;
    do {
        a = 2.0 * uniformRandom() - 1.0;
        b = 2.0 * uniformRandom() - 1.0;
        s = a * a + b * b;
    } while (s >= 1.0);
    double f = std::sqrt(-2.0 * std::log(s) / s);
    pair[0] = a * f;
    pair[1] = b * f;
}

double phillips(double amplitude, double kx, double ky, double wx, double wy) {
    double k2 = kx * kx + ky * ky;
    if (k2 == 0.0) return 0.0;
    double v2 = wx * wx + wy * wy;
    double l = v2 / GRAVITY;
    double p = std::exp(-1.0 / (k2 * l * l)) / (k2 * k2) * amplitude;
    // Squared cosine to the wind: waves running against it keep their full height.
    double along = kx * wx + ky * wy;
    p = p * (along * along) / (k2 * v2);
    // Small waves damped by exp(-|k| l), |k| to the first power.
    return p * std::exp(-std::sqrt(k2) * SMALL_WAVE_LENGTH);
}

void initSpectrum() {
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            WaveVector& k = waveVectors[i][j];
            k.kx = (i - 32) * TWO_PI / 128.0;
            k.ky = (j - 32) * TWO_PI / 128.0;
            k.lengthSquared = k.ky * k.ky + k.kx * k.kx;
            k.length = std::sqrt(k.lengthSquared);

            // A pair is drawn for every cell, the zero frequency included, so the sequence stays aligned.
            double g[2];
            gaussianPair(g);
            double p = phillips(SPECTRUM_AMPLITUDE, k.kx, k.ky, WIND_X, WIND_Y);
            h0[i][j].real = (1.0 / std::sqrt(2.0)) * g[0] * std::sqrt(p);
            h0[i][j].imag = (1.0 / std::sqrt(2.0)) * g[1] * std::sqrt(p);
        }
    }
}
