// The paddle's sounds as 16-bit mono WAVs: the catch's splash, the blade's run through the water (a loop)
// and the drips of the recovery. Filtered noise and little rising bubble tones; the same bytes every build.
#include "assets/writers.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

const int RATE = 44100;

struct Noise {
    uint32_t state;
    double next() { // uniform in [-1, 1)
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / double(1 << 23) - 1.0;
    }
};

// One-pole low-pass; its complement (x - lowPass(x)) is the high-pass.
struct LowPass {
    double a, y = 0;
    explicit LowPass(double cutoff) : a(1 - std::exp(-2 * M_PI * cutoff / RATE)) {}
    double operator()(double x) { return y += a * (x - y); }
};

// A bubble's ring, 't' seconds after it starts: a tone that rises by the fraction 'rise' over its first
// few milliseconds as the bubble shrinks, then holds while it dies away.
double bubble(double t, double frequency, double rise, double decay) {
    if (t < 0) return 0;
    const double settle = 0.006;
    double attack = std::fmin(1.0, t / 0.0008);
    double phase = 2 * M_PI * frequency * (t + rise * (t - settle * (1 - std::exp(-t / settle))));
    return attack * std::exp(-t / decay) * std::sin(phase);
}

// Scales the signal so that its highest peak is 'peak' and writes it.
bool writeScaled(const std::string& folder, const char* name, const std::vector<double>& signal,
                 double peak) {
    double highest = 1e-9;
    for (double v : signal)
        highest = std::fmax(highest, std::fabs(v));
    std::vector<int16_t> pcm(signal.size());
    for (size_t i = 0; i < signal.size(); ++i)
        pcm[i] = static_cast<int16_t>(std::lround(signal[i] / highest * peak * 32767.0));
    return writeMonoWav(folder, name, pcm, RATE);
}

// The blade slaps in: a hiss of spray at once, a duller rush of water after it, a few bubbles.
std::vector<double> splash() {
    const int frames = int(0.5 * RATE);
    std::vector<double> out(frames);
    Noise noise{2024};
    LowPass sprayLow(1500), rushHigh(2500), rushLow(300);
    const double bubbles[][2] = {{0.03, 520}, {0.07, 760}, {0.12, 430}, {0.19, 640}, {0.26, 880}};
    for (int i = 0; i < frames; ++i) {
        double t = double(i) / RATE;
        double x = noise.next();
        double spray = (x - sprayLow(x)) * std::fmin(1.0, t / 0.002) * std::exp(-t / 0.035);
        double rush = (rushHigh(x) - rushLow(x)) * std::fmin(1.0, t / 0.004) * std::exp(-t / 0.12);
        double ring = 0;
        for (const auto& b : bubbles)
            ring += bubble(t - b[0], b[1], 0.4, 0.03);
        out[i] = 1.0 * spray + 1.6 * rush + 0.12 * ring;
    }
    return out;
}

// The water along the blade: a low swish that swells and eases three times a loop, and gurgles. Made a
// little longer than the loop, with the extra crossfaded into its start, so the loop has no seam.
std::vector<double> bladeRun() {
    const int frames = 2 * RATE, fade = RATE / 20;
    std::vector<double> made(frames + fade);
    Noise noise{77};
    LowPass top1(800), top2(800), bottom(120);
    for (size_t i = 0; i < made.size(); ++i) {
        double t = double(i) / RATE;
        double x = top2(top1(noise.next()));
        made[i] = (x - bottom(x)) * (0.65 + 0.35 * std::sin(2 * M_PI * 1.5 * t));
    }
    // A gurgle every 0.1 s or so, at times and pitches from the same noise.
    for (double start = 0.02; start < 2.0 + 0.05; start += 0.07 + 0.06 * (noise.next() + 1) / 2) {
        double frequency = 280 + 160 * (noise.next() + 1);
        double loudness = 0.03 + 0.02 * (noise.next() + 1);
        int first = int(start * RATE), last = std::min<int>(int(made.size()), first + int(0.15 * RATE));
        for (int i = first; i < last; ++i)
            made[i] += loudness * bubble(double(i - first) / RATE, frequency, 0.3, 0.035);
    }
    std::vector<double> out(made.begin(), made.begin() + frames);
    for (int i = 0; i < fade; ++i) {
        double w = double(i) / fade;
        out[i] = made[i] * w + made[frames + i] * (1 - w);
    }
    return out;
}

// Drops falling off the blade: a few plinks, further apart and fainter as the blade drains.
std::vector<double> drips() {
    const int frames = int(1.1 * RATE);
    std::vector<double> out(frames);
    const double plinks[][3] = {
        {0.05, 1500, 1.0}, {0.21, 1900, 0.75}, {0.40, 1350, 0.6}, {0.63, 2100, 0.45}, {0.91, 1700, 0.3}};
    Noise noise{9};
    for (int i = 0; i < frames; ++i) {
        double t = double(i) / RATE;
        double v = 0;
        for (const auto& p : plinks) {
            double since = t - p[0];
            v += p[2] * bubble(since, p[1], 0.8, 0.02);
            if (since >= 0 && since < 0.001) v += 0.15 * p[2] * noise.next(); // the drop's tick
        }
        out[i] = v;
    }
    return out;
}

} // namespace

bool writeStrokeSounds(const std::string& folder) {
    return writeScaled(folder, "splash.wav", splash(), 0.9) &&
           writeScaled(folder, "blade.wav", bladeRun(), 0.7) &&
           writeScaled(folder, "drips.wav", drips(), 0.8);
}
