// The one clock of the program: ocean time, the frame's update step and the fps figure.
#pragma once

// Seconds on a monotonic clock (one the system's time setting cannot move), with millisecond resolution.
// Only differences between readings mean anything.
double wallClockSeconds();
