// The stroke's sounds: a splash at each catch, the blade's run through the water while it is wet, drips
// in the recovery; each at the blade's place in eye space, where the listener sits at the origin.
#pragma once

#include "platform/fsound.h"

struct StrokeSounds {
    FSOUND_SAMPLE* splash = nullptr;
    FSOUND_SAMPLE* blade = nullptr;
    FSOUND_SAMPLE* drips = nullptr;
    int splashChannel = -1, bladeChannel = -1, dripsChannel = -1;
    double bladeGain = 0;     // the run's present gain, 0 to 1, easing toward the blade's speed
    double lastSceneTime = 0; // frameClock.sceneTime at the previous frame
    bool lastWet = false;     // the blade was in the water at the previous frame
    double lastSinceOut = 0;  // and had been out of it this long
};
extern StrokeSounds strokeSounds;

// Loads "splash.wav", "blade.wav" and "drips.wav" and gives each a channel of its own, made once here (the
// run loops from now on, silent until the blade is wet). Call after startLoonSound, which opens the
// device; without one, or without a file (named once by the loader), those sounds stay silent.
void startStrokeSounds();
// After each frame's update step: plays what the blade did since the last frame at its place now.
void updateStrokeSounds();
