// The water and sky textures: the environment, bottom and normalisation cube maps, the JPEG sky, and
// the BMP texture makers that the canoe and the paddler models use.
#pragma once

#include "water/jpeg_file.h"

#include <cstddef>

// Texture names of the cube maps, kept for the water shader and the water drawing.
extern unsigned int environmentCubeTexture;
extern unsigned int bottomCubeTexture;
extern unsigned int normalizeCubeTexture;

// A 2-D texture from a JPEG (linear filters, repeat, GL_BLEND environment).
unsigned int loadJpegTexture(const char* fileName);

// Cube maps from "ixpos.bmp" ... "izneg.bmp" and from "bottom.jpg" on every face.
unsigned int loadEnvironmentCube();
unsigned int loadBottomCube();

// Cube-map texturing with its s, t, r coordinate generators, on and off; wrap clamped to the edge
// on all three axes of the bound cube map.
void enableCubeMapping();
void disableCubeMapping();
void clampCubeMapToEdge();

// The 32 x 32 normalisation cube map; left bound to the cube-map target.
unsigned int createNormalizeCube();
// Fills 'buffer' (size * size * 3 bytes) with the texels of one face (0..5 for +X, -X, +Y, -Y, +Z, -Z).
void computeNormalizeCubeFace(int size, int face, unsigned char* buffer);
// Computes and uploads the six faces at mip 'level' to the bound cube map.
void buildNormalizeCubeFaces(int size, int level);

// Makes, binds and enables a new 2-D texture with the filter and environment mode, repeating.
unsigned int begin2DTexture(int filter, int environmentMode);

// 2-D textures from BMP files; a missing or unreadable file gives a plain 1 x 1 texture after a message.
unsigned int loadBmpTexture(const char* fileName);
unsigned int loadKeyedBmpTexture(const char* fileName);

// RGB to RGBA with alpha 0 wherever any of R, G, B is 0; a malloc'd block, or null when out of memory.
unsigned char* addBlackKeyAlpha(int width, int height, const unsigned char* rgb);
