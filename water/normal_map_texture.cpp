// The normal-map texture.
#include "water/normal_map_texture.h"

#include "ocean/normal_map.h"
#include "ocean/surface.h"
#include "platform/textures.h"

#include <GL/gl.h>

unsigned int normalMapTexture = 0;

unsigned int createNormalMapTexture() {
    unsigned int name = begin2DTexture(GL_LINEAR, GL_DECAL);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, OCEAN_N, OCEAN_N, 0, GL_RGB, GL_UNSIGNED_BYTE, normalMapPixels);
    normalMapTexture = name;
    return name;
}

void uploadNormalMap() {
    // Before start-up has made them there is neither a buffer nor a texture to fill.
    if (normalMapPixels == nullptr || normalMapTexture == 0) return;
    glBindTexture(GL_TEXTURE_2D, normalMapTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, OCEAN_N, OCEAN_N, 0, GL_RGB, GL_UNSIGNED_BYTE, normalMapPixels);
}
