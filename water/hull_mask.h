// The hull mask: the gunwale strip drawn into the stencil buffer every frame with the canoe's transform,
// so that the water is kept out of the boat.
#pragma once

#include "water/gunwale_mask.h"

// Marks the strip with stencil 1 (colour writes off) and leaves the stencil test enabled.
void drawHullMask();
