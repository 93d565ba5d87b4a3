// The sound calls: a loaded sample plays on a looping 3-D channel and again on the same channel; no
// device, a missing file, a null sample or a closed device are silent no-ops, never a crash.
#include "assets/writers.h"
#include "platform/fsound.h"

#include <cstdlib>
#include <gtest/gtest.h>

TEST(Sound, LoopsALoadedSampleAndShrugsOffMissingOnes) {
    // OpenAL Soft's null backend mixes without a sound card, so the whole sequence runs here.
    setenv("ALSOFT_DRIVERS", "null", 1);
    std::string folder = testing::TempDir();
    ASSERT_TRUE(writeLoonSound(folder));
    testing::internal::CaptureStdout();
    FSOUND_SetOutput(2);
    int initialised = FSOUND_Init(44100, 32, 0);
    FSOUND_SAMPLE* missing = FSOUND_Sample_Load(FSOUND_FREE, "no-such-sound.wav", FSOUND_LOOP_NORMAL, 0);
    std::string printed = testing::internal::GetCapturedStdout();

    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(FSOUND_Sample_SetMinMaxDistance(missing, 4.0f, 100.0f), 0);
    int none = FSOUND_PlaySound3DAttrib(FSOUND_FREE, missing, -1, -1, -1, nullptr, nullptr);
    EXPECT_EQ(none, -1);
    EXPECT_EQ(FSOUND_SetVolume(none, 50), 0);
    if (!initialised) GTEST_SKIP() << "no OpenAL device at all: " << printed;
    EXPECT_NE(printed.find("no-such-sound.wav"), std::string::npos) << printed;

    FSOUND_SAMPLE* loon =
        FSOUND_Sample_Load(FSOUND_FREE, (folder + "/loon5.wav").c_str(), FSOUND_LOOP_NORMAL, 0);
    ASSERT_NE(loon, nullptr);
    EXPECT_EQ(FSOUND_Sample_SetMinMaxDistance(loon, 4.0f, 100.0f), 1);
    int channel = FSOUND_PlaySound3DAttrib(FSOUND_FREE, loon, -1, -1, -1, nullptr, nullptr);
    EXPECT_GE(channel, 0);
    EXPECT_EQ(FSOUND_SetVolume(channel, 50), 1);

    // A sound played again on its channel makes no new one; after closing, every call is a no-op.
    const float place[3] = {0, 0, -400};
    EXPECT_EQ(FSOUND_PlaySound3DAttrib(channel, loon, -1, 0, -1, place, nullptr), channel);
    EXPECT_EQ(FSOUND_3D_SetAttributes(channel, place, nullptr), 1);
    FSOUND_Close();
    EXPECT_EQ(FSOUND_3D_SetAttributes(channel, place, nullptr), 0);
    EXPECT_EQ(FSOUND_SetVolume(channel, 50), 0);
}
