// The local wave field's step, its shifting, its sources and its texture bytes.
#include "ocean/wave_field.h"

#include <cmath>
#include <cstring>

WaveField waveField;

namespace {

const int N = WAVE_FIELD_N;
// (speed * step / cell) squared: 0.0056, far inside the step's stability bound of 0.5.
const double COURANT2 = (WAVE_SPEED * WAVE_STEP / WAVE_CELL) * (WAVE_SPEED * WAVE_STEP / WAVE_CELL);
// The damping of one step, and at most that much again near the edge, rising over WAVE_EDGE cells.
const double DAMPING_PER_STEP = WAVE_DAMPING * WAVE_STEP / 2;
const double EDGE_DAMPING = 0.25;
const double FOAM_FADE = std::exp(-WAVE_STEP / FOAM_LIFE);
// A pull back to the level (k h in the equation), so that what a source leaves standing sinks away.
const double LEVELLING = 1.5 * WAVE_STEP * WAVE_STEP;

float next[N][N];
// A copy of a field inside a border of level water, so that the sweeps need no edge checks.
float padded[N + 2][N + 2];

void pad(const float (&f)[N][N]) {
    for (int j = 0; j < N; ++j)
        std::memcpy(&padded[j + 1][1], f[j], sizeof f[j]);
}

// The slopes along x and y at cell [j][i] of the padded copy.
void slopesAt(int j, int i, double& sx, double& sy) {
    sx = (double(padded[j + 1][i + 2]) - padded[j + 1][i]) / (2 * WAVE_CELL);
    sy = (double(padded[j + 2][i + 1]) - padded[j][i + 1]) / (2 * WAVE_CELL);
}
double damping[N]; // by distance from the nearest edge, along one axis
bool dampingReady = false;

void prepareDamping() {
    for (int i = 0; i < N; ++i) {
        int fromEdge = i < N - 1 - i ? i : N - 1 - i;
        double inside = fromEdge >= WAVE_EDGE ? 0 : double(WAVE_EDGE - fromEdge) / WAVE_EDGE;
        damping[i] = EDGE_DAMPING * inside * inside;
    }
    dampingReady = true;
}

double at(const float (&f)[N][N], int j, int i) {
    return i < 0 || j < 0 || i >= N || j >= N ? 0.0 : double(f[j][i]);
}

// Moves the rows and columns of f by (-dx, -dy) cells; what comes in is 0.
void shift(float (&f)[N][N], int dx, int dy) {
    if (dy > 0) {
        std::memmove(&f[0][0], &f[dy][0], sizeof(float) * N * (N - dy));
        std::memset(&f[N - dy][0], 0, sizeof(float) * N * dy);
    } else if (dy < 0) {
        std::memmove(&f[-dy][0], &f[0][0], sizeof(float) * N * (N + dy));
        std::memset(&f[0][0], 0, sizeof(float) * N * -dy);
    }
    if (dx == 0) return;
    for (int j = 0; j < N; ++j) {
        if (dx > 0) {
            std::memmove(&f[j][0], &f[j][dx], sizeof(float) * (N - dx));
            std::memset(&f[j][N - dx], 0, sizeof(float) * dx);
        } else {
            std::memmove(&f[j][-dx], &f[j][0], sizeof(float) * (N + dx));
            std::memset(&f[j][0], 0, sizeof(float) * -dx);
        }
    }
}

int cellOf(double coordinate) {
    return static_cast<int>(std::floor(coordinate / WAVE_CELL));
}

unsigned char byteOf(double v) {
    return static_cast<unsigned char>(v <= 0 ? 0 : v >= 255 ? 255 : v + 0.5);
}

} // namespace

void resetWaveField(double x, double y) {
    std::memset(waveField.height, 0, sizeof waveField.height);
    std::memset(waveField.previous, 0, sizeof waveField.previous);
    std::memset(waveField.foam, 0, sizeof waveField.foam);
    waveField.originX = cellOf(x) - N / 2;
    waveField.originY = cellOf(y) - N / 2;
}

void followWaveField(double x, double y) {
    int dx = cellOf(x) - (waveField.originX + N / 2), dy = cellOf(y) - (waveField.originY + N / 2);
    if (std::abs(dx) <= 1 && std::abs(dy) <= 1) return;
    if (std::abs(dx) >= N || std::abs(dy) >= N) {
        resetWaveField(x, y);
        return;
    }
    shift(waveField.height, dx, dy);
    shift(waveField.previous, dx, dy);
    shift(waveField.foam, dx, dy);
    waveField.originX += dx;
    waveField.originY += dy;
}

void pushWaveField(double x, double y, double amount, double radius) {
    // Cell centres lie at half cells; (fx, fy) counts from the first one.
    double fx = x / WAVE_CELL - waveField.originX - 0.5, fy = y / WAVE_CELL - waveField.originY - 0.5;
    double reach = 2 * radius / WAVE_CELL;
    if (!(fx > -reach && fy > -reach && fx < N + reach && fy < N + reach) || !(radius > 0)) return;
    int i0 = static_cast<int>(std::ceil(fx - reach)), i1 = static_cast<int>(std::floor(fx + reach));
    int j0 = static_cast<int>(std::ceil(fy - reach)), j1 = static_cast<int>(std::floor(fy + reach));
    double scale = WAVE_CELL / radius;
    for (int j = j0 < 0 ? 0 : j0; j <= j1 && j < N; ++j)
        for (int i = i0 < 0 ? 0 : i0; i <= i1 && i < N; ++i) {
            double u = (i - fx) * scale, v = (j - fy) * scale;
            float bump = static_cast<float>(amount * std::exp(-(u * u + v * v)));
            waveField.height[j][i] += bump;
            waveField.previous[j][i] += bump;
        }
}

// h' = (2h - (1 - g) p + C^2 L h - k h) / (1 + g): the damping g acts on the step's whole change, so the
// energy can only fall, whatever g does from cell to cell.
void stepWaveField() {
    if (!dampingReady) prepareDamping();
    pad(waveField.height);
    for (int j = 0; j < N; ++j) {
        const float *above = padded[j] + 1, *row = padded[j + 1] + 1, *below = padded[j + 2] + 1;
        for (int i = 0; i < N; ++i) {
            double h = row[i];
            double laplacian = double(row[i - 1]) + row[i + 1] + above[i] + below[i] - 4 * h;
            double g = DAMPING_PER_STEP + damping[i] + damping[j];
            next[j][i] = static_cast<float>(
                (2 * h - (1 - g) * waveField.previous[j][i] + COURANT2 * laplacian - LEVELLING * h) /
                (1 + g));
        }
    }
    std::memcpy(waveField.previous, waveField.height, sizeof waveField.height);
    std::memcpy(waveField.height, next, sizeof waveField.height);
    pad(waveField.height);
    for (int j = 0; j < N; ++j)
        for (int i = 0; i < N; ++i) {
            double sx, sy;
            slopesAt(j, i, sx, sy);
            double white =
                std::fabs(waveField.height[j][i]) * 1.2 + std::sqrt(sx * sx + sy * sy) * 2.5 - 0.25;
            waveField.foam[j][i] = static_cast<float>(std::fmax(waveField.foam[j][i] * FOAM_FADE, white));
        }
}

double waveFieldHeight(double x, double y) {
    double fx = x / WAVE_CELL - waveField.originX - 0.5, fy = y / WAVE_CELL - waveField.originY - 0.5;
    if (!(fx > -1 && fy > -1 && fx < N && fy < N)) return 0;
    int i = static_cast<int>(std::floor(fx)), j = static_cast<int>(std::floor(fy));
    double u = fx - i, v = fy - j;
    return (1 - v) * ((1 - u) * at(waveField.height, j, i) + u * at(waveField.height, j, i + 1)) +
           v * ((1 - u) * at(waveField.height, j + 1, i) + u * at(waveField.height, j + 1, i + 1));
}

double waveFieldEnergy() {
    const WaveField& f = waveField;
    double motion = 0, slopes = 0;
    for (int j = -1; j < N; ++j)
        for (int i = -1; i < N; ++i) {
            if (i >= 0 && j >= 0) {
                double v = double(f.height[j][i]) - f.previous[j][i];
                motion += v * v + LEVELLING * f.height[j][i] * f.previous[j][i];
            }
            // The edges to the right and below, the field's zero surround included.
            if (j >= 0)
                slopes += (at(f.height, j, i + 1) - at(f.height, j, i)) *
                          (at(f.previous, j, i + 1) - at(f.previous, j, i));
            if (i >= 0)
                slopes += (at(f.height, j + 1, i) - at(f.height, j, i)) *
                          (at(f.previous, j + 1, i) - at(f.previous, j, i));
        }
    return motion + COURANT2 * slopes;
}

void encodeWaveFieldTexture(unsigned char* rgb) {
    const double toByte = 127 / WAVE_SLOPE_RANGE;
    pad(waveField.height);
    for (int j = 0; j < N; ++j)
        for (int i = 0; i < N; ++i) {
            double sx, sy;
            slopesAt(j, i, sx, sy);
            unsigned char* p = rgb + 3 * (j * N + i);
            p[0] = byteOf(128 + sx * toByte);
            p[1] = byteOf(128 + sy * toByte);
            p[2] = byteOf(waveField.foam[j][i] * 255);
        }
}
