// When each stroke sound plays and how loud, from what the blade did in the frame's update step. The
// splash stays where the blade went in; the run and the drips go with the blade.
#include "app/stroke_sounds.h"

#include "scene/view.h"
#include "paddler/frame_update.h"
#include "paddler/paddle_water.h"
#include "paddler/strokes.h"

#include <cmath>

StrokeSounds strokeSounds;

namespace {

// Full volume at the distance of the canoe's resting place from the viewer; half at twice that.
const float NEAREST = 400.0f, FARTHEST = 4000.0f;
// Blade speeds through the water (units a second) that give the loudest splash and run: a forward
// stroke's catch comes in at about 230 to 280, and its blade pulls at up to some 200.
const double LOUDEST_CATCH = 280, LOUDEST_RUN = 200;
// Gains (0 to 1) against the loon's 0.2: a splash a few times louder than the distant call at its
// height, the run under it, the drips fainter still.
const double SPLASH_LOUDEST = 0.6, SPLASH_QUIETEST = 0.1; // the quietest for a blade that only slips in
const double RUN_LOUDEST = 0.4;                           // at LOUDEST_RUN
const double DRIPS_GAIN = 0.35;
const double RUN_EASE = 0.06; // seconds: the run's gain follows the blade this slowly, so no clicks

int volumeOf(double gain) {
    return static_cast<int>(std::lround(255 * std::fmin(std::fmax(gain, 0.0), 1.0)));
}

// A channel for 'sample', made now and left playing at volume 0 (a one-shot ends at once unheard).
int channelFor(FSOUND_SAMPLE* sample) {
    FSOUND_Sample_SetMinMaxDistance(sample, NEAREST, FARTHEST);
    const float nowhere[3] = {0, 0, -NEAREST};
    return FSOUND_PlaySound3DAttrib(FSOUND_FREE, sample, -1, 0, -1, nowhere, nullptr);
}

} // namespace

void startStrokeSounds() {
    StrokeSounds& s = strokeSounds;
    s.splash = FSOUND_Sample_Load(FSOUND_FREE, "splash.wav", 0, 0);
    s.blade = FSOUND_Sample_Load(FSOUND_FREE, "blade.wav", FSOUND_LOOP_NORMAL, 0);
    s.drips = FSOUND_Sample_Load(FSOUND_FREE, "drips.wav", 0, 0);
    s.splashChannel = s.splash ? channelFor(s.splash) : -1;
    s.bladeChannel = s.blade ? channelFor(s.blade) : -1;
    s.dripsChannel = s.drips ? channelFor(s.drips) : -1;
    s.bladeGain = 0;
    s.lastSceneTime = frameClock.sceneTime;
    s.lastWet = bladeWater.wet;
    s.lastSinceOut = bladeWater.sinceOut;
}

void updateStrokeSounds() {
    StrokeSounds& s = strokeSounds;
    double seconds = frameClock.sceneTime - s.lastSceneTime;
    s.lastSceneTime = frameClock.sceneTime;
    // The blade is placed in canoe space with the rocking already in it: the view and the canoe's place
    // on the water take it to eye space.
    Vec3 at = bladeWater.bladeInCanoe;
    (viewMatrix() * sceneMatrix).transformPoint(at);
    const float position[3] = {float(at.x), float(at.y), float(at.z)};

    // Only on their own channels: FSOUND_FREE (-1) would make a new one each time.
    if (bladeWater.catches > 0 && s.splashChannel >= 0) {
        double loudness = std::fmax(SPLASH_LOUDEST * std::fmin(bladeWater.catchSpeed / LOUDEST_CATCH, 1.0),
                                    SPLASH_QUIETEST);
        FSOUND_PlaySound3DAttrib(s.splashChannel, s.splash, -1, volumeOf(loudness), -1, position, nullptr);
    }
    // Out of the water since the last frame, whether or not a frame saw it wet.
    bool leftTheWater = !bladeWater.wet && (s.lastWet || bladeWater.sinceOut < s.lastSinceOut);
    if (leftTheWater && s.dripsChannel >= 0)
        FSOUND_PlaySound3DAttrib(s.dripsChannel, s.drips, -1, volumeOf(DRIPS_GAIN), -1, position, nullptr);
    s.lastWet = bladeWater.wet;
    s.lastSinceOut = bladeWater.sinceOut;

    double target = bladeWater.wet ? RUN_LOUDEST * std::fmin(bladeWater.wetSpeed / LOUDEST_RUN, 1.0) : 0;
    s.bladeGain += (target - s.bladeGain) * (1 - std::exp(-seconds / RUN_EASE));
    FSOUND_SetVolume(s.bladeChannel, volumeOf(s.bladeGain));
    FSOUND_3D_SetAttributes(s.bladeChannel, position, nullptr);
    FSOUND_3D_SetAttributes(s.dripsChannel, position, nullptr);
}
