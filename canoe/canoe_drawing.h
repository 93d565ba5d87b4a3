// Drawing of the canoe every frame: the canoe half of drawCanoeAndPaddler and the seat nets.
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

// Called with an identity model-view matrix; draws the rocking canoe, then the paddler, and leaves
// the model-view matrix as it found it.
void drawCanoeAndPaddler();
// Shape 9 as two quads with the black-keyed seat texture held open by the alpha test.
void drawSeatNets();
// The rocking about (0, 0, -40) for the current rockIndex; the paddler is drawn under it too.
void applyRocking();
