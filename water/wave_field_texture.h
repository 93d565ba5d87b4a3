// The local wave field as a texture for the water's shading: made once at start-up, filled from the
// field every frame, and placed on the sea by two values the water programs read.
#pragma once

extern unsigned int waveFieldTexture; // GL texture name, made once by createWaveFieldTexture

unsigned int createWaveFieldTexture();
// Fills the texture from this frame's field, and sets waveFieldOrigin and waveFieldScale to match.
void uploadWaveField();
// Water space (x, y) to the texture's coordinates: (x - origin) * scale.
extern float waveFieldOrigin[2];
extern float waveFieldScale;
