// The canoe's gentle rocking: a 3-second cycle with one step per stroke sample, stepped by the wall
// clock once per drawn frame. Plain computation; the drawing applies rockPitchTable / rockRollTable.
#pragma once

#include "base/vecmath.h"
#include "canoe/stroke_samples.h"

extern double rockRate;     // samples per second, n / 3
extern double rockLastTime; // wall-clock seconds of the previous step; 0 before the first
extern double rockPosition; // in samples, within [0, n)
extern double rockPitchTable[STROKE_CAPACITY];
extern double rockRollTable[STROKE_CAPACITY];
extern int rockMode;
extern int rockIndex; // the sample the current frame uses

// Builds the tables for strokeSamples.sampleCount samples. Without usable samples (count 0) the
// tables stay zero and the canoe holds level.
void initRocking();
// The rocking about (0, 0, -40) for sample 'index' in canoe space (the identity while rockMode is off);
// the canoe, its hull mask and the paddler are all drawn under it.
Matrix4 rockingMatrix(int index);

// One step at the wall clock's time.
void advanceRocking();
// One step at time 'now' (seconds), for a caller that owns the clock.
void advanceRockingAt(double now);
