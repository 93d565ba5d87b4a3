// The bytes of the 64 x 64 RGB normal map that the water shader samples, encoded every tick.
#pragma once

const int NORMAL_MAP_BYTES = 64 * 64 * 3;

extern unsigned char* normalMapPixels; // NORMAL_MAP_BYTES, allocated once by allocateNormalMap

// Allocates the zeroed pixel buffer once; false when there is no memory for it.
bool allocateNormalMap();
