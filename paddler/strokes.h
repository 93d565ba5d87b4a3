// The stroke state machine's state and its two entry points from the keyframe animation: the
// per-frame canoe motion and the choice of the clip that follows the one just ended.
#pragma once

#include <cstdint>

// Clip numbers the stroke machine plays; a paddler model must hold at least this many clips.
const int STROKE_CLIP_COUNT = 27;

struct StrokeState {
    int32_t currentClip = 1;   // clip being played
    int32_t requestedClip = 1; // clip chosen at the end of the last one
    int32_t queuedStroke = -1; // stroke asked for by a key and not yet started
    int32_t paddleSide = 1;    // hand holding the paddle: 1 (bone 41) or 0 (bone 22)
    int32_t sideChangeStep = -1;
    int32_t sideFlipPending = 0;
};

extern StrokeState strokeState;

// Moves the canoe for one frame while 'clip' plays.
void moveCanoe(int clip);
// Sets requestedClip to the clip that follows the one just ended.
void chooseNextClip();
