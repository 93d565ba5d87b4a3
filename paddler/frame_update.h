// The frame's update step: everything that moves with time advances here, once at the top of each
// display; the drawing then only reads what it leaves.
#pragma once

// A longer gap between two frames (a stall, a suspended laptop) counts as this many seconds.
const double LONGEST_FRAME_GAP = 0.5;

struct FrameClock {
    bool started = false;
    double lastNow = 0;      // the clock's reading at the previous frame
    double sceneTime = 0;    // seconds the scene has played, from 0 at the first frame
    double nextRateStep = 0; // the scene's time at which the canoe's next rate step begins
};
extern FrameClock frameClock;

// Advances the scene to the clock reading 'now' (seconds; the program passes wallClockSeconds()): the
// clips, the canoe's motion, the rocking, the paddler's pose and skinned vertices, and this frame's
// canoe matrix. A reading that goes backwards counts as no time.
void updateFrame(double now);

// The paddler as it stands 'seconds' into 'clip' with the paddle in 'side's hand: the pose and the skinned
// vertices, with a fresh stroke state and nothing else moved. How the contact sheet and tests pose it.
void posePaddlerAt(int clip, int side, double seconds);
