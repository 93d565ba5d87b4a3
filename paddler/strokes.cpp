// The stroke machine's choice of clips and the canoe motion it drives.
#include "paddler/strokes.h"

#include <cmath>

StrokeState strokeState;
CanoeMotion canoeMotion;
Matrix4 sceneMatrix;
static void noRedisplay() {}
void (*strokeRedisplay)() = noRedisplay;

void resetStrokes(int clip, int side) {
    strokeState = StrokeState();
    strokeState.paddleSide = side;
    strokeState.currentClip = strokeState.requestedClip = clip;
}

void requestStroke(int stroke, int hand) {
    // One request at a time: keys are ignored until the queued stroke has started.
    if (strokeState.queuedStroke != -1) return;
    if (hand != strokeState.paddleSide) strokeState.sideChangeStep = SIDE_CHANGE_ASKED;
    strokeState.queuedStroke = stroke;
    strokeRedisplay();
}

void chooseNextClip() {
    StrokeState& s = strokeState;
    const SideClips& side = SIDE_CLIPS[s.paddleSide];
    int ended = s.requestedClip;
    // A hold's entry always leads into its held phase, queued stroke or not.
    if (ended == side.holdEntry) {
        s.requestedClip = side.holdHeld;
        return;
    }
    if (s.queuedStroke == -1) return; // nothing asked for: the clip plays again
    // A queued stroke ends a hold through its exit clip; the stroke stays queued.
    if (ended == side.holdHeld) {
        s.requestedClip = side.holdExit;
        return;
    }
    if (s.sideChangeStep == SIDE_CHANGE_NONE) {
        s.requestedClip = s.queuedStroke;
        s.queuedStroke = -1;
    } else if (s.sideChangeStep == SIDE_CHANGE_ASKED) {
        s.requestedClip = side.changeOut;
        s.sideChangeStep = SIDE_CHANGE_LEAVING;
    } else if (s.sideChangeStep == SIDE_CHANGE_LEAVING) {
        s.requestedClip = SIDE_CLIPS[1 - s.paddleSide].changeIn;
        s.sideChangeStep = SIDE_CHANGE_NONE;
    }
}

void startNextClip() {
    chooseNextClip();
    StrokeState& s = strokeState;
    // The second half of a change of hands is played with the paddle in the new hand.
    if (s.requestedClip == SIDE_CLIPS[1 - s.paddleSide].changeIn) s.paddleSide = 1 - s.paddleSide;
    s.currentClip = s.requestedClip;
}

namespace {

// Below 0.3 in magnitude a speed or a turn rate stops.
float snapped(float v) {
    return std::fabs(v) < 0.3f ? 0.0f : v;
}
float plus(float v, double change) {
    return static_cast<float>(static_cast<double>(v) + change);
}

bool pushesForward(int c) {
    return c == SIDE_CLIPS[0].forward || c == SIDE_CLIPS[1].forward;
}
bool pushesBackward(int c) {
    return c == SIDE_CLIPS[0].backward || c == SIDE_CLIPS[1].backward;
}
// A turning stroke turns one way, the hold on the same side the other.
bool turns(int c, int sign) {
    for (int side = 0; side < 2; ++side) {
        if (c == SIDE_CLIPS[side].turningStroke) return TURNING_STROKE_SIGN[side] == sign;
        if (c == SIDE_CLIPS[side].holdHeld) return TURNING_STROKE_SIGN[side] == -sign;
    }
    return false;
}

} // namespace

// Note the order of snapping and decay, which differs between the forward and backward rules and between
// the two turns.
void changeCanoeRates(int c) {
    float& speed = canoeMotion.canoeSpeed;
    float& turn = canoeMotion.canoeTurnRate;
    if (pushesForward(c)) {
        speed = plus(speed, 2.0 - 0.1);
        if (speed > 20) speed = 20;
        speed = snapped(speed);
    } else {
        speed = snapped(speed);
        if (speed > 0) speed = plus(speed, -0.1);
    }
    if (pushesBackward(c)) {
        speed = plus(speed, -2.0 + 0.1);
        if (speed < -20) speed = -20;
        speed = snapped(speed);
    } else {
        if (speed < 0) speed = plus(speed, 0.1);
        speed = snapped(speed);
    }
    if (turns(c, +1)) {
        turn = plus(turn, 2.0 - 0.2);
        if (turn >= 20) turn = 20;
        turn = snapped(turn);
    } else {
        if (turn > 0) turn = plus(turn, -0.2);
        turn = snapped(turn);
    }
    if (turns(c, -1)) {
        turn = plus(turn, -2.0 + 0.2);
        if (turn <= -20) turn = -20;
        turn = snapped(turn);
    } else {
        turn = snapped(turn);
        if (turn < 0) turn = plus(turn, 0.2);
    }
}

void moveCanoe(double seconds) {
    double headingStep = canoeMotion.canoeTurnRate * seconds;
    sceneMatrix = sceneMatrix * rotationY(headingStep);
    double distance = canoeMotion.canoeSpeed * seconds;
    double radians = headingStep * DEGREES_TO_RADIANS;
    sceneMatrix =
        sceneMatrix * translationMatrix(std::sin(radians) * distance, 0, std::cos(radians) * distance);
}
