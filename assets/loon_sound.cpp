// The loon's call: a rising, held wail, then a short tremolo, then the quiet of a lake, as 16-bit mono
// WAV. Synthesised from a few harmonics with slow vibrato and breathy noise; the same bytes every build.
#include "assets/writers.h"

#include <cmath>
#include <cstdint>
#include <vector>

static const int RATE = 22050;

// Smooth rise and fall of an envelope between 0 and 1 over [start, end) seconds.
static double envelope(double t, double start, double end, double attack, double release) {
    if (t < start || t >= end) return 0.0;
    double in = std::min(1.0, (t - start) / attack), out = std::min(1.0, (end - t) / release);
    return std::sin(0.5 * M_PI * in) * std::sin(0.5 * M_PI * out);
}

// Pitch of the call at time t: the wail glides up and settles, the tremolo warbles between two notes.
static double pitch(double t) {
    if (t < 2.8) {
        double rise = std::min(1.0, t / 0.7);
        double fall = t > 2.3 ? (t - 2.3) / 0.5 : 0.0;
        return 620.0 + 430.0 * std::sin(0.5 * M_PI * rise) - 180.0 * fall * fall +
               6.0 * std::sin(2 * M_PI * 5.0 * t);
    }
    return 1050.0 + 140.0 * (std::sin(2 * M_PI * 9.0 * t) > 0 ? 1.0 : -1.0) * 0.5 +
           20.0 * std::sin(2 * M_PI * 3.0 * t);
}

bool writeLoonSound(const std::string& folder) {
    const double seconds = 9.0;
    const int frames = static_cast<int>(seconds * RATE);
    std::vector<int16_t> pcm(frames);
    double phase = 0.0;
    uint32_t noise = 12345;
    for (int i = 0; i < frames; ++i) {
        double t = double(i) / RATE;
        phase += 2 * M_PI * pitch(t) / RATE;
        double wail = envelope(t, 0.15, 2.9, 0.35, 0.4);
        double tremolo = envelope(t, 3.5, 5.2, 0.1, 0.3) * (0.65 + 0.35 * std::sin(2 * M_PI * 9.0 * t));
        double amplitude = 0.55 * (wail + tremolo);
        double tone = std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.12 * std::sin(3 * phase);
        noise = noise * 1664525u + 1013904223u;
        double breath = ((noise >> 9) / double(1 << 23) - 0.5) * 0.04;
        double value = amplitude * (tone / 1.47 + breath);
        pcm[i] = static_cast<int16_t>(std::lround(std::max(-1.0, std::min(1.0, value)) * 32000.0));
    }

    return writeMonoWav(folder, "loon5.wav", pcm, RATE);
}
