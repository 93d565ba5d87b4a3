// The generated paddle sounds read back through libsndfile: mono, of their lengths, heard, each with the
// shape that makes it what it is (a splash that starts at once, a loop without a seam, separate drips).
#include "assets/writers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <vector>

TEST(PaddleSounds, ReadBackWithTheirShapes) {
    std::string folder = testing::TempDir();
    ASSERT_TRUE(writeStrokeSounds(folder));
    const struct {
        const char* name;
        double shortest, longest; // seconds
        double peakBefore;        // seconds: the loudest 10 ms starts before this
        bool loops;               // its end runs on into its start
        int bursts;               // separate sounds, each from a quiet 10 ms to a loud one (0: any)
    } cases[] = {
        {"splash.wav", 0.3, 0.8, 0.02, false, 1},
        {"blade.wav", 1.0, 4.0, 4.0, true, 0},
        {"drips.wav", 0.6, 1.5, 0.1, false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SF_INFO info = {};
        SNDFILE* file = sf_open((folder + "/" + c.name).c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(info.channels, 1);
        std::vector<float> s(static_cast<size_t>(info.frames));
        ASSERT_EQ(sf_readf_float(file, s.data(), info.frames), info.frames);
        sf_close(file);
        double seconds = double(info.frames) / info.samplerate;
        EXPECT_GE(seconds, c.shortest);
        EXPECT_LE(seconds, c.longest);

        // RMS of 10 ms windows.
        const size_t window = info.samplerate / 100;
        std::vector<double> rms;
        for (size_t a = 0; a + window <= s.size(); a += window) {
            double sum = 0;
            for (size_t i = a; i < a + window; ++i)
                sum += s[i] * s[i];
            rms.push_back(std::sqrt(sum / window));
        }
        size_t loudest = 0;
        int bursts = 0;
        for (size_t w = 0; w < rms.size(); ++w) {
            if (rms[w] > rms[loudest]) loudest = w;
            if ((w == 0 || rms[w - 1] < 0.01) && rms[w] > 0.1) ++bursts; // silence before the start
        }
        EXPECT_GT(rms[loudest], 0.15) << "heard";
        EXPECT_LT(loudest * 0.01, c.peakBefore);
        if (c.bursts) {
            EXPECT_EQ(bursts, c.bursts);
        }
        // A loop's seam is no bigger a step than those within it; a one-shot ends in quiet.
        double largestStep = 0;
        for (size_t i = 1; i < s.size(); ++i)
            largestStep = std::fmax(largestStep, std::fabs(s[i] - s[i - 1]));
        if (c.loops) {
            EXPECT_LT(std::fabs(s.front() - s.back()), largestStep / 2);
        } else {
            EXPECT_LT(rms.back(), 0.01);
        }
    }
}
