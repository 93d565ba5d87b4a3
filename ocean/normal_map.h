// The 64 x 64 RGB normal-map texture that the water shader samples, re-specified every tick.
#pragma once

const int NORMAL_MAP_BYTES = 64 * 64 * 3;

extern unsigned int normalMapTexture;  // GL texture name, made once by createNormalMapTexture
extern unsigned char* normalMapPixels; // NORMAL_MAP_BYTES, allocated once by createNormalMapTexture

// Allocates the pixel buffer and creates the texture; returns its name (also kept in normalMapTexture).
// Without a pixel buffer the program cannot run: prints "failure to malloc" and exits with status 1.
unsigned int createNormalMapTexture();
// Encodes gridNormals into the pixel buffer and specifies the whole texture again.
void uploadNormalMap();
