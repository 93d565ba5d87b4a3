// The stroke machine's choice of clips and the canoe motion it drives.
#include "paddler/strokes.h"

#include "scene/clock.h"
#include "scene/view.h"
#include "base/vecmath.h"

#include <cmath>

StrokeState strokeState;
CanoeMotion canoeMotion;
static void noRedisplay() {}
void (*strokeRedisplay)() = noRedisplay;

void requestStroke(int stroke, int hand) {
    // One request at a time: keys are ignored until the queued stroke has started.
    if (strokeState.queuedStroke != -1) return;
    if (hand != strokeState.paddleSide) strokeState.sideChangeStep = -5;
    strokeState.queuedStroke = stroke;
    strokeRedisplay();
}

void chooseNextClip() {
    StrokeState& s = strokeState;
    int ended = s.requestedClip;
    // A hold's entry always leads into its held phase, queued stroke or not.
    if (ended == 7 || ended == 11) {
        s.requestedClip = ended + 1;
        return;
    }
    if (s.queuedStroke == -1) return; // nothing asked for: the clip plays again
    // A queued stroke ends a hold through its exit clip; the stroke stays queued.
    if (ended == 8 || ended == 12) {
        s.requestedClip = ended + 1;
        return;
    }
    if (s.sideChangeStep == -1) {
        s.requestedClip = s.queuedStroke;
        s.queuedStroke = -1;
    } else if (s.sideChangeStep == -5) {
        s.requestedClip = s.paddleSide == 1 ? 24 : 23;
        s.sideChangeStep = -4;
    } else if (s.sideChangeStep == -4) {
        s.requestedClip = s.paddleSide == 0 ? 25 : 26;
        s.sideChangeStep = -1;
        s.sideFlipPending = 1;
    }
}

namespace {

// Below 0.3 in magnitude a speed or a turn rate stops.
float snapped(float v) {
    return std::fabs(v) < 0.3f ? 0.0f : v;
}
float plus(float v, double change) {
    return static_cast<float>(static_cast<double>(v) + change);
}

// Speed and turn rate for one frame of 'clip'. The changes are per frame; note the order of snapping
// and decay, which differs between the forward and backward steps and between the two turns.
void changeRates(int c, CanoeMotion& m) {
    float& speed = m.canoeSpeed;
    float& turn = m.canoeTurnRate;
    if (c == 0 || c == 6) {
        speed = plus(speed, 2.0 - 0.1);
        if (speed > 20) speed = 20;
        speed = snapped(speed);
    } else {
        speed = snapped(speed);
        if (speed > 0) speed = plus(speed, -0.1);
    }
    if (c == 4 || c == 10) {
        speed = plus(speed, -2.0 + 0.1);
        if (speed < -20) speed = -20;
        speed = snapped(speed);
    } else {
        if (speed < 0) speed = plus(speed, 0.1);
        speed = snapped(speed);
    }
    if (c == 3 || c == 12) {
        turn = plus(turn, 2.0 - 0.2);
        if (turn >= 20) turn = 20;
        turn = snapped(turn);
    } else {
        if (turn > 0) turn = plus(turn, -0.2);
        turn = snapped(turn);
    }
    if (c == 8 || c == 14) {
        turn = plus(turn, -2.0 + 0.2);
        if (turn <= -20) turn = -20;
        turn = snapped(turn);
    } else {
        turn = snapped(turn);
        if (turn < 0) turn = plus(turn, 0.2);
    }
}

} // namespace

void moveCanoeAt(int clip, double now) {
    changeRates(clip, canoeMotion);
    double dt = now - canoeMotion.lastMotionTime;
    // Both steps in the canoe's own frame: it turns about its own vertical axis, then moves along its own
    // z axis bent by this frame's heading step.
    double headingStep = canoeMotion.canoeTurnRate * dt;
    sceneMatrix = sceneMatrix * rotationY(headingStep);
    double distance = canoeMotion.canoeSpeed * dt;
    double radians = headingStep * DEGREES_TO_RADIANS;
    sceneMatrix =
        sceneMatrix * translationMatrix(std::sin(radians) * distance, 0, std::cos(radians) * distance);
    canoeMotion.lastMotionTime = now;
}

void moveCanoe(int clip) {
    moveCanoeAt(clip, wallClockSeconds());
}
