// Where the paddler sits in the canoe and where the paddle sits in the hand that holds it: plain
// products of the fixed offsets and this frame's bone matrices, shared by the drawing and the tests.
#pragma once

#include "base/vecmath.h"
#include "paddler/grip.h"

struct Bone;

// Paddler model space to the canoe's space, before the rocking: the seat, the kneeling height, the
// forward lean and the slight turn.
Matrix4 paddlerSeatMatrix();

// Paddle model space to paddler model space for the hand of 'side', from this frame's bones. The hand's
// animated frame carries the paddle; only the hand's rest position, not its rest rotation, is taken
// out. Side 0 turns the paddle half round its shaft, as a paddle's power face turns at a change of hands.
Matrix4 paddlePlacement(int side, const Bone* bones);
