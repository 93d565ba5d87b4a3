// The canoe's gentle rocking: a 3-second cycle with one step per stroke sample, set from the scene's
// clock by the frame's update step. Plain computation; the drawing applies the matrix of rockIndex.
#pragma once

#include "base/vecmath.h"
#include "canoe/stroke_samples.h"

extern double rockRate; // samples per second, n / 3
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

// Sets rockIndex for the scene's time t (seconds since the first frame): rockRate samples a second,
// from sample 0, wrapping after n.
void advanceRockingAt(double t);
