// The stroke machine: which clip the paddler plays next, from the stroke a key asked for and the hand
// that holds the paddle; and the canoe's motion, from the clip being played. Plain computation: the only
// thing it asks of the window is a redisplay, through a hook the program sets.
#pragma once

#include "base/vecmath.h"
#include "paddler/stroke_clips.h"

#include <cstdint>

// Where a change of hands stands.
const int32_t SIDE_CHANGE_NONE = -1;    // none under way
const int32_t SIDE_CHANGE_ASKED = -5;   // the queued stroke needs the other hand
const int32_t SIDE_CHANGE_LEAVING = -4; // its first half has been chosen

struct StrokeState {
    int32_t currentClip = 1;   // clip being played
    int32_t requestedClip = 1; // clip chosen at the end of the last one
    int32_t queuedStroke = -1; // stroke (a clip) asked for by a key and not yet started; -1 none
    int32_t paddleSide = 1;    // hand holding the paddle: 1 (bone 41) or 0 (bone 22)
    int32_t sideChangeStep = SIDE_CHANGE_NONE;
};

// The canoe's motion. The rates change in fixed steps of MOTION_STEP seconds, by the amounts a 60 fps
// frame once gave them, so the canoe speeds up, glides and turns alike at any frame rate.
constexpr double MOTION_STEP = 1.0 / 60.0;

struct CanoeMotion {
    float canoeSpeed = 0;    // model units per second along the canoe's own z, within [-20, 20]
    float canoeTurnRate = 0; // degrees per second; positive turns the bow (+z) toward +x
};

extern StrokeState strokeState;
extern CanoeMotion canoeMotion;
extern Matrix4 sceneMatrix; // the canoe's placement on the water, written by moveCanoe alone
// Asked for after a stroke is queued; the program points it at the window's redisplay request.
extern void (*strokeRedisplay)();

// A fresh stroke state playing 'clip' with the paddle in 'side's hand, as at start-up.
void resetStrokes(int clip, int side);
// A key's request: queues 'stroke' (a clip) played with the paddle in 'hand', unless a stroke is already
// queued; marks a change of hands when 'hand' does not hold the paddle.
void requestStroke(int stroke, int hand);
// Sets requestedClip to the clip that follows the one just ended (requestedClip itself).
void chooseNextClip();
// The end of a clip: chooses the next one and makes it current; the paddle changes hands as the second
// half of a change of hands begins.
void startNextClip();
// One MOTION_STEP of the rate rules while 'clip' plays.
void changeCanoeRates(int clip);
// Moves sceneMatrix by the present speed and turn rate over 'seconds': the canoe turns about its own
// vertical axis, then moves along its own z bent by that turn.
void moveCanoe(double seconds);
