// The frame's flow: the display calls updateFrame, then draws. updateFrame turns the clock's gap into
// scene time; across it the clips play back to back at their exact lengths and the canoe moves, its rates
// changing and the water stirred every 1/60 s by the pose of that moment; then the rocking, the pose and the
// canoe's matrix follow for the frame's own time.
#include "paddler/frame_update.h"

#include "scene/view.h"
#include "ocean/wave_field.h"
#include "canoe/rocking.h"
#include "paddler/animation.h"
#include "paddler/model_tables.h"
#include "paddler/paddle_water.h"
#include "paddler/skeleton.h"
#include "paddler/skinning.h"
#include "paddler/strokes.h"

#include <cmath>

FrameClock frameClock;
static_assert(MOTION_STEP == WAVE_STEP, "the water is stirred on the canoe's rate steps");

namespace {

// Steps within this of a frame's time belong to that frame: sums of clock gaps are not exact.
const double SAME_TIME = 1e-9;

// Each clip that has ended by the scene's time t hands its end time to the next one, so a clip played k
// times takes k times its length whatever the frame rate.
void playClipsUntil(double t) {
    if (!animationOn) return;
    while (t >= clipClock.clipStartTime + clipClock.clipDuration - SAME_TIME) {
        double end = clipClock.clipStartTime + clipClock.clipDuration;
        startNextClip();
        startClip(end);
    }
    setClipElapsed(t - clipClock.clipStartTime);
}

// The canoe and the water from the scene's time 'from' to 'to': as each 1/60 s begins, a rate step with the
// clip that plays then, and the paddle and hull stir the water as they stand then; the motion over every
// part of the interval at the rates of its step.
void advanceCanoe(double from, double to) {
    for (double t = from; t < to - SAME_TIME;) {
        if (t >= frameClock.nextRateStep - SAME_TIME) {
            playClipsUntil(t);
            changeCanoeRates(strokeState.currentClip);
            advanceRockingAt(t);
            updateHierarchy();
            stirWater();
            frameClock.nextRateStep += MOTION_STEP;
        }
        double until = std::fmin(to, frameClock.nextRateStep);
        moveCanoe(until - t);
        t = until;
    }
}

} // namespace

void updateFrame(double now) {
    double gap = frameClock.started ? now - frameClock.lastNow : 0;
    frameClock.started = true;
    frameClock.lastNow = now;
    gap = std::fmin(std::fmax(gap, 0.0), LONGEST_FRAME_GAP);
    double from = frameClock.sceneTime, to = from + gap;
    startPaddleWaterFrame();
    advanceCanoe(from, to);
    playClipsUntil(to);
    frameClock.sceneTime = to;

    advanceRockingAt(to);
    updateHierarchy();
    skinModel(paddler, blendList, bones);
    placeCanoeInView(sceneMatrix * rockingMatrix(rockIndex));
}

void posePaddlerAt(int clip, int side, double seconds) {
    startClipAfresh(clip, side);
    setClipElapsed(seconds);
    updateHierarchy();
    skinModel(paddler, blendList, bones);
}
