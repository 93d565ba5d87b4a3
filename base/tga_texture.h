// The TGA loader that turns a TGA file into an OpenGL 2-D texture (clamped, linear, modulated).
#pragma once

#include "base/tga.h"

class TgaLoader {
  public:
    TgaLoader() {}
    ~TgaLoader() {}
    // Returns a new texture name, TGA_REFUSED or TGA_READ_FAILED. A failed load creates no texture.
    int loadTgaTexture(const char* fileName);
    unsigned int format = 0; // pixel format of the last load
};
