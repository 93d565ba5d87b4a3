// The normal-map texture: made once at start-up, re-specified from gridNormals on every tick.
#include "ocean/normal_map.h"

#include "ocean/surface.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>

unsigned int normalMapTexture = 0;
unsigned char* normalMapPixels = nullptr;

unsigned int createNormalMapTexture() {
    // Zeroed rather than left unset: the first tick fills it anyway, and the texture made below starts
    // from defined bytes.
    normalMapPixels = static_cast<unsigned char*>(std::calloc(NORMAL_MAP_BYTES, 1));
    if (normalMapPixels == nullptr) {
        // Every tick writes this buffer; without it there is nothing sound to go on with.
        std::printf("failure to malloc\n");
        std::fflush(stdout);
        std::exit(1);
    }
    glEnable(GL_TEXTURE_2D);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, OCEAN_N, OCEAN_N, 0, GL_RGB, GL_UNSIGNED_BYTE, normalMapPixels);
    normalMapTexture = name;
    return name;
}

void uploadNormalMap() {
    // Before createNormalMapTexture there is neither a buffer nor a texture to fill.
    if (normalMapPixels == nullptr) return;
    encodeNormalMap(normalMapPixels);
    glBindTexture(GL_TEXTURE_2D, normalMapTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, OCEAN_N, OCEAN_N, 0, GL_RGB, GL_UNSIGNED_BYTE, normalMapPixels);
}
