// Drawing of the paddler and the paddle every frame, in OpenGL immediate mode.
#pragma once

// The paddler section of the scene, after the canoe: the paddle and the body (drawPaddlerFrame) on the
// seat, under this frame's canoe matrix. Expects the canoe's lighting state; changes the model-view matrix.
void drawPaddler();
