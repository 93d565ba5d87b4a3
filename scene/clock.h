// The one wall clock of the program: ocean time, rocking, clips, canoe motion and the fps figure.
#pragma once

// Seconds since 1 January 1970, with millisecond resolution.
double wallClockSeconds();
