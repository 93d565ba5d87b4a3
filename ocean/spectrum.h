// The wave spectrum: the random generator, Gaussian deviates, the Phillips spectrum and initSpectrum,
// which fills waveVectors and h0 of OceanGrid once at start-up.
#pragma once

const double TWO_PI = 6.283185307179586;
const double WAVE_NUMBER_STEP = TWO_PI / 128.0;          // spacing of the grid frequencies
const double GRAVITY = 9.8100004196167;                  // 9.81f widened
const double SPECTRUM_AMPLITUDE = 0.0007999999797903001; // 0.0008f widened
const double WIND_X = 5.0;
const double WIND_Y = 5.0;
const double SMALL_WAVE_LENGTH = 1.0; // damping exp(-|k| * l)

// The 32-bit linear congruential generator: state = state * 214013 + 2531011, result
// (state >> 16) & 32767. Written out here so that a seed gives the same sea on every platform.
void seedRandom(unsigned int seed);
int nextRandom();
// nextRandom() / 32767.0, in [0, 1].
double uniformRandom();
// Two independent standard normal deviates (polar Box-Muller).
void gaussianPair(double pair[2]);
double phillips(double amplitude, double kx, double ky, double wx, double wy);
void initSpectrum();
