// FSOUND-style calls on OpenAL: one buffer per sample, one source per channel.
#include "platform/fsound.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <cstdio>
#include <sndfile.h>
#include <vector>

struct FSOUND_SAMPLE {
    ALuint buffer;
    unsigned mode;
    float minDistance, maxDistance;
};

static const int MAX_SAMPLES = 8, MAX_CHANNELS = 8;
static FSOUND_SAMPLE samples[MAX_SAMPLES];
static int sampleCount = 0;
static ALuint channelSources[MAX_CHANNELS];
static int channelCount = 0;
static ALCdevice* device = nullptr;
static ALCcontext* context = nullptr;

int FSOUND_SetOutput(int) {
    return 1;
}

int FSOUND_Init(int mixRate, int, unsigned) {
    if (context) return 1;
    device = alcOpenDevice(nullptr);
    if (!device) {
        std::printf("no audio device: the loon stays silent\n");
        return 0;
    }
    const ALCint attributes[] = {ALC_FREQUENCY, mixRate, 0};
    context = alcCreateContext(device, attributes);
    if (!context || !alcMakeContextCurrent(context)) {
        std::printf("no audio context: the loon stays silent\n");
        context = nullptr;
        return 0;
    }
    return 1;
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char* name, unsigned mode, int) {
    if (!context || sampleCount == MAX_SAMPLES) return nullptr;
    SF_INFO info = {};
    SNDFILE* file = sf_open(name, SFM_READ, &info);
    if (!file) {
        std::printf("%s: can't read the sound (%s)\n", name, sf_strerror(nullptr));
        return nullptr;
    }
    // A 3-D source must be mono: mix the channels down.
    const sf_count_t maxFrames = 60LL * 48000;
    if (info.channels < 1 || info.frames <= 0 || info.frames > maxFrames) {
        std::printf("%s: unusable sound (%d channels, %lld frames)\n", name, info.channels,
                    static_cast<long long>(info.frames));
        sf_close(file);
        return nullptr;
    }
    std::vector<short> interleaved(static_cast<size_t>(info.frames) * info.channels);
    sf_count_t frames = sf_readf_short(file, interleaved.data(), info.frames);
    sf_close(file);
    std::vector<short> mono(static_cast<size_t>(frames));
    for (sf_count_t f = 0; f < frames; ++f) {
        int sum = 0;
        for (int c = 0; c < info.channels; ++c)
            sum += interleaved[static_cast<size_t>(f) * info.channels + c];
        mono[static_cast<size_t>(f)] = static_cast<short>(sum / info.channels);
    }
    FSOUND_SAMPLE* sample = &samples[sampleCount];
    alGenBuffers(1, &sample->buffer);
    alBufferData(sample->buffer, AL_FORMAT_MONO16, mono.data(),
                 static_cast<ALsizei>(mono.size() * sizeof(short)), info.samplerate);
    if (alGetError() != AL_NO_ERROR) {
        std::printf("%s: the audio device refused the sound\n", name);
        return nullptr;
    }
    sample->mode = mode;
    sample->minDistance = 1.0f;
    sample->maxDistance = 1e9f;
    ++sampleCount;
    return sample;
}

int FSOUND_Sample_SetMinMaxDistance(FSOUND_SAMPLE* sample, float minDistance, float maxDistance) {
    if (!sample) return 0;
    sample->minDistance = minDistance;
    sample->maxDistance = maxDistance;
    return 1;
}

int FSOUND_PlaySound3DAttrib(int channel, FSOUND_SAMPLE* sample, int, int volume, int, const float* position,
                             const float*) {
    if (!context || !sample) return -1;
    bool reused = channel >= 0 && channel < channelCount;
    if (!reused && channelCount == MAX_CHANNELS) return -1;
    ALuint source;
    if (reused) {
        source = channelSources[channel];
        alSourceStop(source); // a buffer can only be changed on a stopped source
    } else {
        alGenSources(1, &source);
    }
    alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    alSourcei(source, AL_LOOPING, (sample->mode & FSOUND_LOOP_NORMAL) ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_REFERENCE_DISTANCE, sample->minDistance);
    alSourcef(source, AL_MAX_DISTANCE, sample->maxDistance);
    if (position) {
        alSourcei(source, AL_SOURCE_RELATIVE, AL_FALSE);
        alSource3f(source, AL_POSITION, position[0], position[1], position[2]);
    } else {
        // No position: the sound sits at the listener.
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source, AL_POSITION, 0, 0, 0);
    }
    if (volume >= 0) alSourcef(source, AL_GAIN, volume / 255.0f);
    alSourcePlay(source);
    if (alGetError() != AL_NO_ERROR) return -1;
    if (reused) return channel;
    channelSources[channelCount] = source;
    return channelCount++;
}

int FSOUND_3D_SetAttributes(int channel, const float* position, const float*) {
    if (!context || channel < 0 || channel >= channelCount || !position) return 0;
    alSource3f(channelSources[channel], AL_POSITION, position[0], position[1], position[2]);
    return 1;
}

int FSOUND_SetVolume(int channel, int volume) {
    if (!context || channel < 0 || channel >= channelCount) return 0;
    if (volume < 0) volume = 0;
    if (volume > 255) volume = 255;
    alSourcef(channelSources[channel], AL_GAIN, volume / 255.0f);
    return 1;
}

void FSOUND_Close() {
    if (!context) return;
    alSourceStopv(channelCount, channelSources);
    alDeleteSources(channelCount, channelSources);
    for (int i = 0; i < sampleCount; ++i)
        alDeleteBuffers(1, &samples[i].buffer);
    channelCount = sampleCount = 0;
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
}
