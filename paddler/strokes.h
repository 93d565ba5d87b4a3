// The stroke state machine: which clip the paddler plays next, from the stroke a key asked for and the
// hand that holds the paddle; and the canoe's motion, from the clip being played. Plain computation:
// the only thing it asks of the window is a redisplay, through a hook the program sets.
#pragma once

#include <cstdint>

// Clip numbers the stroke machine plays; a paddler model must hold at least this many clips.
const int STROKE_CLIP_COUNT = 27;

struct StrokeState {
    int32_t currentClip = 1;     // clip being played
    int32_t requestedClip = 1;   // clip chosen at the end of the last one
    int32_t queuedStroke = -1;   // stroke asked for by a key and not yet started; -1 for none
    int32_t paddleSide = 1;      // hand holding the paddle: 1 (bone 41) or 0 (bone 22)
    int32_t sideChangeStep = -1; // -1 none; -5 the queued stroke needs the other hand; -4 first half chosen
    int32_t sideFlipPending = 0; // 1 from the choice of the second half until the drawing toggles the hand
};

struct CanoeMotion {
    float canoeSpeed = 0;      // model units per second along the canoe's own z, within [-20, 20]
    float canoeTurnRate = 0;   // degrees per second; positive turns the bow (+z) toward +x
    double lastMotionTime = 0; // wall-clock seconds of the previous motion step
};

extern StrokeState strokeState;
extern CanoeMotion canoeMotion;
// Asked for after a stroke is queued; the program points it at the window's redisplay request.
extern void (*strokeRedisplay)();

// A key's request: queues 'stroke' (a clip number) played with 'hand', unless a stroke is already
// queued; marks a change of hands when 'hand' does not hold the paddle.
void requestStroke(int stroke, int hand);
// Sets requestedClip to the clip that follows the one just ended (requestedClip itself).
void chooseNextClip();
// One frame of canoe motion while 'clip' plays, at the wall clock's time / at time 'now'.
void moveCanoe(int clip);
void moveCanoeAt(int clip, double now);
