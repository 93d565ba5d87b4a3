// Drawing of the canoe every frame: the rocking hull and everything in it, and the seat nets.
#pragma once

#include "canoe/shape_file.h"

// Per-shape drawing state of the canoe loop.
struct CanoeShapeStyle {
    bool generateCoords; // GL_TEXTURE_GEN_S / T on (object-linear, default planes)
    bool textured;       // GL_TEXTURE_2D on
    int textureShape;    // whose texture is bound; -1 for none
    int materialList;    // display list 1 to 6
    bool withTexCoords;  // send the shape's texCoords with each corner
};
extern const CanoeShapeStyle canoeShapeStyles[15];

// Draws the canoe under canoeModelView, which it leaves loaded.
void drawCanoe();
// Shape 9 as two quads with the black-keyed seat texture held open by the alpha test.
void drawSeatNets();
