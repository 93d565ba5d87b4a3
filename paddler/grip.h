// The paddle in the hand that holds it, shared by the program's placement of the paddle and by the
// generator, which poses the arms so that the hands meet the paddle placed this way.
#pragma once

const int PADDLE_BONE_SIDE1 = 41; // the left hand (+x) holds the paddle while paddleSide is 1
const int PADDLE_BONE_SIDE0 = 22; // the right hand while it is 0

// The grip point of each side's hand in the paddler's rest pose (model units, indexed by side): the
// hand's rest position, which the placement takes out of the hand's frame before the paddle goes in.
const double PADDLE_GRIP_X[2] = {-22.8511, 23.1557};
const double PADDLE_GRIP_Y = 41.1324, PADDLE_GRIP_Z = 2.42493;

// Degrees about the hand's z: the paddle's slight turn in either hand, and side 0's half turn before it
// (the power face turns over at a change of hands).
const double PADDLE_GRIP_TURN = -2;
const double PADDLE_SIDE0_TURN = 180;
