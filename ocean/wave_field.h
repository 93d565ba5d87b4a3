// The small waves the canoe and the paddle make, apart from the FFT sea: a damped 2-D wave equation on a
// grid of its own in water space (x, y along the sea), stepped 60 times a second. It follows the canoe by
// whole cells, and its waves die away before its edge, so neither the edge nor the shifting shows.
#pragma once

const int WAVE_FIELD_N = 128;            // cells a side
const double WAVE_CELL = 2.0;            // units of water space a cell
constexpr double WAVE_STEP = 1.0 / 60.0; // seconds a step
const double WAVE_SPEED = 9.0;           // units a second
const double WAVE_DAMPING = 0.8;         // a wave keeps exp(-0.4 t) of its height after t seconds
const int WAVE_EDGE = 16;                // cells over which waves are damped away before the edge
const double FOAM_LIFE = 1.5;            // seconds in which foam fades to a third
const int WAVE_FIELD_TEXTURE_BYTES = WAVE_FIELD_N * WAVE_FIELD_N * 3;

// Heights in units of water space; cell [j][i] covers x from (originX + i) * WAVE_CELL and y from
// (originY + j) * WAVE_CELL, one WAVE_CELL each way.
struct WaveField {
    float height[WAVE_FIELD_N][WAVE_FIELD_N];
    float previous[WAVE_FIELD_N][WAVE_FIELD_N]; // the heights one step before
    float foam[WAVE_FIELD_N][WAVE_FIELD_N];     // 0 to 1: raised where the water is high or steep, fading
    int originX, originY;
};
extern WaveField waveField;

// A flat field centred on (x, y).
void resetWaveField(double x, double y);
// Shifts the field by whole cells, when (x, y) has strayed from its centre by more than a cell; the cells
// that come in are flat.
void followWaveField(double x, double y);
// Raises the water round (x, y) by a bump 'amount' units high at its middle, falling off as
// exp(-(d / radius)^2) to nothing at twice 'radius', as a shape at rest that the next steps set moving.
// What falls outside the field is lost.
void pushWaveField(double x, double y, double amount, double radius);
// One WAVE_STEP of the damped wave equation; foam rises where the water now stands high or steep, and
// fades where it does not.
void stepWaveField();

// The height at (x, y), between cell centres bilinearly; 0 outside the field.
double waveFieldHeight(double x, double y);
// The field's energy, as the wave equation's steps keep it: a sum of motion and of slopes.
double waveFieldEnergy();
// The field as RGB bytes, cell [j][i] at pixel j * WAVE_FIELD_N + i: the slope along x and along y
// (128 is level, WAVE_SLOPE_RANGE at 0 or 255) and the foam.
const double WAVE_SLOPE_RANGE = 0.6;
void encodeWaveFieldTexture(unsigned char* rgb);
