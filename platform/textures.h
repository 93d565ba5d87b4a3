// The texture makers that the water, the canoe and the paddler share: 2-D textures from BMP, keyed BMP,
// TGA and JPEG files (a plain stand-in where a file can't be read), and the pieces of a cube map.
#pragma once

#include "base/tga.h"

// Makes, binds and enables a new 2-D texture with the filter and environment mode, repeating.
unsigned int begin2DTexture(int filter, int environmentMode);

// A 2-D texture from a JPEG (linear filters, repeat, GL_BLEND environment).
unsigned int loadJpegTexture(const char* fileName);

// 2-D textures from BMP files; a missing or unreadable file gives a plain 1 x 1 texture after a message.
unsigned int loadBmpTexture(const char* fileName);
unsigned int loadKeyedBmpTexture(const char* fileName);

// RGB to RGBA with alpha 0 wherever any of R, G, B is 0; a malloc'd block, or null when out of memory.
unsigned char* addBlackKeyAlpha(int width, int height, const unsigned char* rgb);

// The TGA loader that turns a TGA file into an OpenGL 2-D texture (clamped, linear, modulated).
class TgaLoader {
  public:
    TgaLoader() {}
    ~TgaLoader() {}
    // Returns a new texture name, TGA_REFUSED or TGA_READ_FAILED. A failed load creates no texture.
    int loadTgaTexture(const char* fileName);
    unsigned int format = 0; // pixel format of the last load
};

// The GL target of cube face 0..5: +X, -X, +Y, -Y, +Z, -Z.
unsigned int cubeFaceTarget(int face);
// A new cube map, bound and left enabled, with reflection-map coordinates, edges clamped and
// mipmaps generated.
unsigned int beginCubeTexture();
// Uploads one face of 'cubeSize' squared to the bound cube map, or a plain face of that size when
// the pixels are missing or of another size, so that the cube stays complete.
void uploadCubeFace(int face, int width, int height, const unsigned char* pixels, int cubeSize);

// Cube-map texturing with its s, t, r coordinate generators, on and off; wrap clamped to the edge
// on all three axes of the bound cube map.
void enableCubeMapping();
void disableCubeMapping();
void clampCubeMapToEdge();
