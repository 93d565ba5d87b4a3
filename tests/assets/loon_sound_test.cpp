// The generated loon call is a valid mono WAV that libsndfile reads, with a call and a quiet end.
#include "assets/writers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <vector>

TEST(LoonSound, IsAMonoCallFollowedByQuiet) {
    std::string folder = testing::TempDir();
    ASSERT_TRUE(writeLoonSound(folder));
    SF_INFO info = {};
    SNDFILE* file = sf_open((folder + "/loon5.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.samplerate, 22050);
    EXPECT_GT(info.frames, 5 * 22050);
    std::vector<float> samples(static_cast<size_t>(info.frames));
    ASSERT_EQ(sf_readf_float(file, samples.data(), info.frames), info.frames);
    sf_close(file);

    auto rms = [&](double from, double to) {
        double sum = 0;
        size_t a = size_t(from * 22050), b = size_t(to * 22050);
        for (size_t i = a; i < b; ++i)
            sum += samples[i] * samples[i];
        return std::sqrt(sum / double(b - a));
    };
    EXPECT_GT(rms(1.0, 2.0), 0.2);  // the held wail
    EXPECT_GT(rms(3.8, 4.8), 0.1);  // the tremolo
    EXPECT_LT(rms(6.5, 8.5), 0.02); // the lake between calls
}
