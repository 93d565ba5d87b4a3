// The canoe's textures.
#pragma once

#include "canoe/shape_file.h"

// Loads the five canoe textures into their shapes, then the coordinates of the ribs (offset 0) and
// the inner hull (offset 90). Needs the GL context.
void loadCanoeTextures();
