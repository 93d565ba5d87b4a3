// The paddler's clips by name. Each clip is played with the paddle in one hand, its side (1: the left
// hand, bone 41; 0: the right hand, bone 22); every side has the same set of clips. The keys, the stroke
// machine, the canoe's motion rules and the asset generator all know a clip by its name here; the numbers
// are those of the model file.
#pragma once

struct SideClips {
    int idle;          // at rest, the paddle across the canoe; loops
    int forward;       // forward stroke: speeds the canoe up forward
    int backward;      // backward stroke: speeds it up backward
    int turningStroke; // stern pry: turns the bow toward the paddle's side
    int holdEntry;     // turning hold: the blade goes out as a rudder...
    int holdHeld;      // ...is held there, repeating, turning the bow away from the paddle's side...
    int holdExit;      // ...and comes back to rest
    int changeOut;     // change of hands, first half: the paddle up over the head, away from this side
    int changeIn;      // change of hands, second half: the paddle down into this side's hands
};

// By side: SIDE_CLIPS[1] for the left hand, SIDE_CLIPS[0] for the right.
const SideClips SIDE_CLIPS[2] = {
    {5, 6, 10, 14, 11, 12, 13, 23, 26},
    {1, 0, 4, 3, 7, 8, 9, 24, 25},
};

// The clip numbers a paddler model must hold (the highest used is 26).
const int STROKE_CLIP_COUNT = 27;

// The turn a side's turning stroke gives the canoe, in the sign of canoeTurnRate (positive turns the bow
// toward +x); the side's hold turns it the other way.
const int TURNING_STROKE_SIGN[2] = {-1, +1};
