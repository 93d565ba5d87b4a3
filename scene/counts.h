// What the frame counts for the on-screen counters, written by the parts that draw it.
#pragma once

extern int tileCount; // water tiles drawn in the current frame (reset and counted by the water)
