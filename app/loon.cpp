// The loon sound's call sequence; nothing touches the sound after it.
#include "app/loon.h"

FSOUND_SAMPLE* loonSample = nullptr;
int loonChannel = -1;

void startLoonSound() {
    FSOUND_SetOutput(2);
    FSOUND_Init(44100, 32, 0);
    loonSample = FSOUND_Sample_Load(FSOUND_FREE, "loon5.wav", FSOUND_LOOP_NORMAL, 0);
    FSOUND_Sample_SetMinMaxDistance(loonSample, 4.0f, 100.0f);
    loonChannel = FSOUND_PlaySound3DAttrib(FSOUND_FREE, loonSample, -1, -1, -1, nullptr, nullptr);
    FSOUND_SetVolume(loonChannel, 50);
}
