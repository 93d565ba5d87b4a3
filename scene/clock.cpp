// The monotonic clock, cut to whole milliseconds.
#include "scene/clock.h"

#include <time.h>

double wallClockSeconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    long milliseconds = now.tv_nsec / 1000000;
    return static_cast<double>(now.tv_sec) + milliseconds / 1000.0;
}
