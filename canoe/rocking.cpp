// Rocking tables and the rocking clock.
#include "canoe/rocking.h"

#include <cmath>

double rockRate = 0.0;
double rockPitchTable[STROKE_CAPACITY];
double rockRollTable[STROKE_CAPACITY];
int rockMode = 0;
int rockIndex = 0;

static int rockSampleCount() {
    int n = strokeSamples.sampleCount;
    return n >= 1 && n <= STROKE_CAPACITY ? n : 0;
}

void initRocking() {
    rockMode = 1;
    int n = rockSampleCount();
    rockRate = n / 3.0;
    for (int i = 0; i < STROKE_CAPACITY; i++)
        rockPitchTable[i] = rockRollTable[i] = 0.0;
    for (int i = 0; i < n; i++) {
        double u = std::sin((static_cast<double>(i) / n) * 180 * DEGREES_TO_RADIANS);
        rockPitchTable[i] = -u;
        rockRollTable[i] = u * (-10.0);
    }
}

Matrix4 rockingMatrix(int index) {
    if (rockMode != 1 || index < 0 || index >= STROKE_CAPACITY) return Matrix4();
    return translationMatrix(0, 0, -40) * rotationX(3 * rockPitchTable[index]) *
           rotationZ(-rockRollTable[index]) * translationMatrix(0, 0, 40);
}

void advanceRockingAt(double t) {
    int n = rockSampleCount();
    if (n == 0) { // no samples: level, and no division by a zero count
        rockIndex = 0;
        return;
    }
    double w = std::fmod(std::floor(rockRate * t), static_cast<double>(n));
    if (w < 0) w += n;
    rockIndex = static_cast<int>(w);
}
