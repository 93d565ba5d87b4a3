// The wave-field texture: slopes and foam, filtered between cells and level beyond the edge.
#include "water/wave_field_texture.h"

#include "ocean/wave_field.h"
#include "platform/textures.h"

#include <GL/gl.h>

unsigned int waveFieldTexture = 0;
float waveFieldOrigin[2] = {0, 0};
float waveFieldScale = 1.0f / (WAVE_FIELD_N * WAVE_CELL);

static unsigned char waveFieldBytes[WAVE_FIELD_TEXTURE_BYTES];

unsigned int createWaveFieldTexture() {
    unsigned int name = begin2DTexture(GL_LINEAR, GL_MODULATE);
    // Past the edge the field is flat: the edge's texels are level and clear, and clamping repeats them.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    encodeWaveFieldTexture(waveFieldBytes);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, WAVE_FIELD_N, WAVE_FIELD_N, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 waveFieldBytes);
    glDisable(GL_TEXTURE_2D);
    waveFieldTexture = name;
    return name;
}

void uploadWaveField() {
    if (waveFieldTexture == 0) return;
    encodeWaveFieldTexture(waveFieldBytes);
    glBindTexture(GL_TEXTURE_2D, waveFieldTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, WAVE_FIELD_N, WAVE_FIELD_N, GL_RGB, GL_UNSIGNED_BYTE,
                    waveFieldBytes);
    waveFieldOrigin[0] = static_cast<float>(waveField.originX * WAVE_CELL);
    waveFieldOrigin[1] = static_cast<float>(waveField.originY * WAVE_CELL);
}
