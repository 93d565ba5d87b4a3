// Wall clock with millisecond resolution.
#include "scene/clock.h"

#include <sys/time.h>

double wallClockSeconds() {
    timeval now;
    gettimeofday(&now, nullptr);
    long milliseconds = now.tv_usec / 1000;
    return static_cast<double>(now.tv_sec) + milliseconds / 1000.0;
}
