// The normal map as a texture: made once at start-up, re-specified from the ocean's bytes every frame.
#pragma once

extern unsigned int normalMapTexture; // GL texture name, made once by createNormalMapTexture

// Creates the texture from normalMapPixels (allocateNormalMap first); returns its name.
unsigned int createNormalMapTexture();
// Specifies the whole texture again from this tick's bytes.
void uploadNormalMap();
