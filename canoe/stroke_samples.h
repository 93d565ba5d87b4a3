// The stroke sample file "fstroke.stroke": its samples pace the canoe's rocking (one rocking step per
// sample); the points and spin angles are kept but nothing else reads them.
#pragma once

#include <cstdint>
#include <istream>

const int STROKE_CAPACITY = 1000;

struct StrokeSamples {
    int32_t sampleCount;
    double pointA[STROKE_CAPACITY][3];
    double pointB[STROKE_CAPACITY][3];
    double spinAngle[STROKE_CAPACITY];
};

extern StrokeSamples strokeSamples;

// Fills strokeSamples from the stream (a label, the count, 3n + 3n + n numbers). A stream that gives
// nothing (a missing file) or a count outside 1 to STROKE_CAPACITY prints one line and leaves
// sampleCount 0, which holds the canoe level; a file that ends early prints one line and its missing
// numbers count as 0. Returns whether the samples are usable.
bool readStrokeFile(std::istream& in);
