// The stroke sample reader.
#include "canoe/stroke_samples.h"

#include "base/tokens.h"

#include <cstdio>
#include <cstring>
#include <string>

StrokeSamples strokeSamples;

static const char* const STROKE_FILE = "fstroke.stroke";

bool readStrokeFile(std::istream& in) {
    std::memset(&strokeSamples, 0, sizeof strokeSamples);
    std::string label, word;
    if (!(in >> label >> word)) {
        std::printf("%s: missing or empty; the canoe holds level\n", STROKE_FILE);
        return false;
    }
    long count = tokenToLong(word);
    if (count < 1 || count > STROKE_CAPACITY) {
        std::printf("%s: %ld samples, outside 1 to %d; the canoe holds level\n", STROKE_FILE, count,
                    STROKE_CAPACITY);
        return false;
    }
    int n = static_cast<int>(count);
    strokeSamples.sampleCount = n;
    bool complete = true;
    // Tokens that can't be read count as 0, which the cleared table already holds.
    auto next = [&](double& value) {
        if (complete && (in >> word))
            value = tokenToDouble(word);
        else
            complete = false;
    };
    for (int i = 0; i < n; i++)
        for (int c = 0; c < 3; c++)
            next(strokeSamples.pointA[i][c]);
    for (int i = 0; i < n; i++)
        for (int c = 0; c < 3; c++)
            next(strokeSamples.pointB[i][c]);
    for (int i = 0; i < n; i++)
        next(strokeSamples.spinAngle[i]);
    if (!complete)
        std::printf("%s: the file ends before its %d samples; the rest count as 0\n", STROKE_FILE, n);
    return true;
}
