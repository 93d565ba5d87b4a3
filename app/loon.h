// The loon's call, started once and looping for the life of the program.
#pragma once

#include "platform/fsound.h"

extern FSOUND_SAMPLE* loonSample;
extern int loonChannel;

// Starts "loon5.wav" looping on a 3-D channel; silent (with a message) where there is no sound device.
void startLoonSound();
