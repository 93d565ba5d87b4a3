// A small looping-sample player with the FSOUND-style calls the scene makes, on OpenAL Soft and
// libsndfile. Every call is safe without an audio device: the sound is then silent, said once.
#pragma once

struct FSOUND_SAMPLE; // a loaded sample; null when loading failed

const int FSOUND_FREE = -1; // any free sample slot or channel
const unsigned FSOUND_LOOP_NORMAL = 2;

// Output selection is the device's business here; kept for the call order. Returns 1.
int FSOUND_SetOutput(int output);
// Opens the default device; 1 on success, 0 (with a message) when there is none.
int FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned flags);
// Loads a WAV (or any file libsndfile reads) into a sample; null on failure, with a message.
FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* name, unsigned mode, int length);
int FSOUND_Sample_SetMinMaxDistance(FSOUND_SAMPLE* sample, float minDistance, float maxDistance);
// Plays the sample on a 3-D channel: at 'position' (x, y, z in eye space, the listener at the origin
// looking down -z) or, with none given, at the listener. FSOUND_FREE makes a new channel; the number of
// one made before plays the sample there afresh, so a sound repeated makes no new source. Returns the
// channel or -1.
int FSOUND_PlaySound3DAttrib(int channel, FSOUND_SAMPLE* sample, int frequency, int volume, int pan,
                             const float* position, const float* velocity);
// Moves a channel's sound to 'position' (eye space); the velocity is not used.
int FSOUND_3D_SetAttributes(int channel, const float* position, const float* velocity);
// Volume 0 to 255.
int FSOUND_SetVolume(int channel, int volume);
// Stops every channel and closes the device: a device that writes a file has written it whole only then.
// The program never calls it (the sound lasts as long as the process); the tests do.
void FSOUND_Close();
