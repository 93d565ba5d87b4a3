// Drawing of the paddler and the paddle every frame, in OpenGL immediate mode.
#pragma once

#include "base/vecmath.h"

extern Matrix4 savedModelView; // the paddler's placement of this frame: the canoe's matrix times the seat

// The paddler section of the scene, after the canoe: places the paddler on its seat in the rocking canoe,
// then draws paddle and body (drawPaddlerFrame). Expects the canoe's lighting state; changes the
// model-view matrix.
void drawPaddler();
