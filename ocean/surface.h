// OceanGrid, the global arrays of the simulated 64 x 64 ocean patch, and stepOcean, the per-tick
// update that turns the initial amplitudes and the wall-clock time into heights, positions and normals.
#pragma once

#include "base/vecmath.h"
#include "ocean/fft.h"

const int OCEAN_N = 64;            // grid points per side of the patch
const double PATCH_LENGTH = 128.0; // side of the patch in world units
const double GRID_SPACING = 2.0;   // PATCH_LENGTH / OCEAN_N
const double CHOPPINESS = 0.29;
const double HEIGHT_SCALE = 0.1; // the drawing multiplies the raw heights by this
const double TIME_SCALE = 1.0;
const int DRAW_GRID_N = OCEAN_N + 1; // the drawing grid repeats row and column 0 one patch further on

struct WaveVector {
    double kx, ky, length, lengthSquared;
};

struct PositionXY {
    double x, y;
};

// OceanGrid. In every table element [i][j] has i along world x and j along world y; the surface
// lies in the x-y plane with z up. All of it is static storage, zero until start-up and the first tick.
extern WaveVector waveVectors[OCEAN_N][OCEAN_N]; // filled once by initSpectrum
extern Complex h0[OCEAN_N][OCEAN_N];             // filled once by initSpectrum
// The spectrum of the moment, then after the inverse FFT and sign correction: real = height.
extern Complex heightField[OCEAN_N][OCEAN_N];
// Displacement spectra, then after the FFT and scaling: imag = horizontal displacement.
extern Complex displacementX[OCEAN_N][OCEAN_N];
extern Complex displacementY[OCEAN_N][OCEAN_N];
extern PositionXY positionsXY[OCEAN_N][OCEAN_N]; // displaced horizontal position of each grid point
extern Vec3 gridNormals[OCEAN_N][OCEAN_N];       // unit normals
// The closed drawing grid: (x, y, raw height), row and column 64 repeat 0 shifted by PATCH_LENGTH.
extern Vec3 drawVertices[DRAW_GRID_N][DRAW_GRID_N];
extern Vec3 drawNormals[DRAW_GRID_N][DRAW_GRID_N];
extern double simulationStartTime; // wall-clock seconds taken right after initSpectrum

// How a tick went: the displacement transforms may be refused, and the program cannot go on without them.
enum OceanTick { OCEAN_TICK_DONE, OCEAN_X_REFUSED, OCEAN_Y_REFUSED };

// One idle tick at the current wall-clock time; the normal-map bytes (normalMapPixels) included.
OceanTick stepOcean();
// A tick at ocean time T (minus the elapsed seconds): evolveSpectrum, computeChoppyDisplacement, the
// height FFT and sign correction, computeGridNormals, buildDrawGrid. Stops at a refused displacement.
OceanTick advanceOcean(double T);

// The 2-D transform the tick runs its three inverse transforms through: fft2d. The benchmark puts a
// reference library's transform in its place to compare the two on the very same tick.
typedef int (*OceanTransform)(Complex (*c)[FFT_ROW_LENGTH], int nx, int ny, int dir);
extern OceanTransform oceanTransform;

void evolveSpectrum(double T);
OceanTick computeChoppyDisplacement();
void computeGridNormals(const Complex (*heights)[OCEAN_N]);
void buildDrawGrid();

// (-1)^n.
float checkerSign(int n);

// RGB bytes of gridNormals, 64 rows of 192 bytes: each component c gives 0.4f * c * 127 + 127, truncated.
void encodeNormalMap(unsigned char* pixels);
