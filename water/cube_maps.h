// The water's cube maps: the environment (the sky's six faces), the sea bottom and the normalisation
// cube that the water shader samples.
#pragma once

// Texture names of the cube maps, kept for the water shader and the water drawing.
extern unsigned int environmentCubeTexture;
extern unsigned int bottomCubeTexture;
extern unsigned int normalizeCubeTexture;

// Cube maps from "ixpos.bmp" ... "izneg.bmp" and from "bottom.jpg" on every face.
unsigned int loadEnvironmentCube();
unsigned int loadBottomCube();

// The 32 x 32 normalisation cube map; left bound to the cube-map target.
unsigned int createNormalizeCube();
// Fills 'buffer' (size * size * 3 bytes) with the texels of one face (0..5 for +X, -X, +Y, -Y, +Z, -Z).
void computeNormalizeCubeFace(int size, int face, unsigned char* buffer);
// Computes and uploads the six faces at mip 'level' to the bound cube map.
void buildNormalizeCubeFaces(int size, int level);
