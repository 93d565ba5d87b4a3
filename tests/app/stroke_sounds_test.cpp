// The stroke's sounds as heard: OpenAL Soft's wave writer records the mix in real time while the generated
// paddler rests, paddles and rests again, the loon calling throughout.
#include "app/loon.h"
#include "app/stroke_sounds.h"
#include "canoe/rocking.h"
#include "canoe/stroke_samples.h"
#include "paddler/model_bytes.h"
#include "paddler/paddle_water.h"
#include "water/gunwale_mask.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/alc.h>
#include <AL/alext.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <sndfile.h>
#include <thread>
#include <unistd.h>

namespace {

const SideClips& LEFT = SIDE_CLIPS[1];
// The scripted session, seconds on the WAV's timeline: rest, forward strokes on the left, rest.
const double STROKES_ASKED = 2.0, REST_ASKED = 8.0, SESSION_END = 12.5;
// Drips may fall this long after the blade leaves the water; the paddler rests only after them.
const double DRIPPING = 1.2;

// Splash onsets in the mix: 5 ms windows of the signal above 4 kHz (the splash's spray; the loon and the
// blade's run lie below it, the drips reach it faintly) whose mean square passes 0.01 (a forward
// stroke's splash gives 0.04 to 0.06, the drips' brightest plink 0.003) and ten times the 100 ms before.
std::vector<double> onsets(const std::vector<float>& mono, int rate) {
    // A second-order Butterworth high-pass.
    double w = 2 * M_PI * 4000 / rate, alpha = std::sin(w) / std::sqrt(2.0), c = std::cos(w);
    double a0 = 1 + alpha, b0 = (1 + c) / 2 / a0, b1 = -(1 + c) / a0, a1 = -2 * c / a0, a2 = (1 - alpha) / a0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0, sum = 0;
    const int window = rate / 200, before = 20;
    std::vector<double> energy, found;
    for (size_t i = 0; i < mono.size(); ++i) {
        double y = b0 * mono[i] + b1 * x1 + b0 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = mono[i], y2 = y1, y1 = y;
        sum += y * y;
        if ((i + 1) % window == 0) energy.push_back(sum / window), sum = 0;
    }
    for (size_t k = before; k < energy.size(); ++k) {
        double background = 0, t = double(k * window) / rate;
        for (size_t j = k - before; j < k; ++j)
            background += energy[j] / before;
        bool jump = energy[k] > 0.01 && energy[k] > 10 * background;
        if (jump && (found.empty() || t - found.back() > 0.05)) found.push_back(t);
    }
    return found;
}

TEST(StrokeSounds, ASplashStartsAtEveryCatchAndNothingWhileResting) {
    // The run folder holds the generated model, mask, samples and sounds; the program reads them by name.
    char previous[4096];
    ASSERT_TRUE(getcwd(previous, sizeof previous) && chdir(CANOE_RUN_DIR) == 0);
    BinaryReadFile model("K.man");
    ASSERT_TRUE(loadPaddlerModel(model));
    preparePaddler(noBmpTexture, noTgaTexture);
    std::ifstream mask("gunwale.mask"), samples("fstroke.stroke");
    ASSERT_TRUE(readGunwaleMask(mask) && readStrokeFile(samples));
    initRocking();
    startClipAfresh(LEFT.idle, 1);
    resetPaddleWater();
    frameClock = FrameClock();

    std::string mix = testing::TempDir() + "stroke_mix.wav", config = testing::TempDir() + "alsoft.conf";
    std::ofstream(config) << "[general]\ndrivers=wave\n[wave]\nfile=" << mix << "\n";
    setenv("ALSOFT_CONF", config.c_str(), 1);
    unsetenv("ALSOFT_DRIVERS"); // it would override the config's drivers

    // The device opens as the program opens it; the loon's own sequence then finds it open and goes on as
    // in the program. The writer starts its clock inside the opening and has mixed some frames by the time
    // it returns: the WAV's time of a moment is the wall time since then plus those frames' length.
    typedef std::chrono::steady_clock Clock;
    FSOUND_SetOutput(2);
    ASSERT_EQ(FSOUND_Init(44100, 32, 0), 1) << "the wave writer did not open";
    Clock::time_point opened = Clock::now();
    ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
    ALCint64SOFT mixedNanoseconds = 0;
    ASSERT_TRUE(alcIsExtensionPresent(device, "ALC_SOFT_device_clock"));
    alcGetInteger64vSOFT(device, ALC_DEVICE_CLOCK_SOFT, 1, &mixedNanoseconds);
    startLoonSound();
    startStrokeSounds();
    ASSERT_GE(strokeSounds.splashChannel, 0);

    std::vector<double> catches;
    std::vector<std::pair<double, double>> rests; // [from, to) while the paddler rests, dry
    double leftWater = -1e9, loudestRun = 0, fastestRunChange = 0;
    bool asked = false, restAsked = false;
    for (int frame = 0;; ++frame) {
        std::this_thread::sleep_until(opened + std::chrono::microseconds(frame * 1000000 / 60));
        double now = std::chrono::duration<double>(Clock::now() - opened).count() + mixedNanoseconds * 1e-9;
        if (now >= SESSION_END) break;
        if (!asked && now >= STROKES_ASKED) requestStroke(LEFT.forward, 1), asked = true;
        if (!restAsked && now >= REST_ASKED) requestStroke(LEFT.idle, 1), restAsked = true;
        bool wasWet = bladeWater.wet;
        double runGain = strokeSounds.bladeGain, sceneTime = frameClock.sceneTime;
        updateFrame(now);
        updateStrokeSounds();
        if (bladeWater.catches > 0) catches.push_back(now);
        if (wasWet && !bladeWater.wet) leftWater = now;
        loudestRun = std::fmax(loudestRun, strokeSounds.bladeGain);
        if (frameClock.sceneTime > sceneTime)
            fastestRunChange = std::fmax(fastestRunChange, std::fabs(strokeSounds.bladeGain - runGain) /
                                                               (frameClock.sceneTime - sceneTime));
        bool resting = strokeState.currentClip == LEFT.idle && !bladeWater.wet && now - leftWater > DRIPPING;
        if (resting && (rests.empty() || rests.back().second >= 0)) rests.push_back({now, -1});
        if (!resting && !rests.empty() && rests.back().second < 0) rests.back().second = now;
    }
    if (!rests.empty() && rests.back().second < 0) rests.back().second = SESSION_END;
    FSOUND_Close();
    ASSERT_EQ(chdir(previous), 0);

    SF_INFO info = {};
    SNDFILE* file = sf_open(mix.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<float> frames(static_cast<size_t>(info.frames) * info.channels);
    std::vector<float> mono(static_cast<size_t>(sf_readf_float(file, frames.data(), info.frames)));
    sf_close(file);
    for (size_t f = 0; f < frames.size(); ++f)
        if (f / info.channels < mono.size()) mono[f / info.channels] += frames[f];
    EXPECT_GT(double(mono.size()) / info.samplerate, SESSION_END - 0.5)
        << "the writer keeps to the wall clock";
    double loon = 0; // the held wail, 1 to 2 s into the loop
    for (size_t f = info.samplerate; f < 2u * info.samplerate && f < mono.size(); ++f)
        loon += mono[f] * mono[f] / info.samplerate;
    EXPECT_GT(std::sqrt(loon), 0.02) << "the loon calls in the mix";
    // The run swells while the blade pulls and fades over tens of milliseconds, never at a click's pace
    // (its whole range in a frame would be some 25 a second).
    EXPECT_TRUE(loudestRun > 0.15 && fastestRunChange < 10) << loudestRun << ", " << fastestRunChange;

    std::vector<double> found = onsets(mono, info.samplerate);
    ASSERT_GE(catches.size(), 3u) << "forward strokes from " << STROKES_ASKED << " s to " << REST_ASKED
                                  << " s";
    for (double c : catches) {
        double nearest = 1e9;
        for (double t : found)
            if (std::fabs(t - c) < std::fabs(nearest - c)) nearest = t;
        EXPECT_LT(std::fabs(nearest - c), 0.1)
            << "catch at " << c << " s, nearest onset at " << nearest << " s";
    }
    ASSERT_GE(rests.size(), 2u) << "a rest before the strokes and one after";
    for (const auto& r : rests)
        for (double t : found)
            EXPECT_FALSE(t >= r.first && t < r.second) << "an onset at " << t << " s while resting";
}

} // namespace
