// The platform's pieces that need no window: the sound calls, the shader source preparation and the
// black key of the keyed BMP textures.
#include "assets/writers.h"
#include "platform/fsound.h"
#include "platform/shader_program.h"
#include "platform/textures.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

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

    EXPECT_TRUE(missing == nullptr && FSOUND_Sample_SetMinMaxDistance(missing, 4.0f, 100.0f) == 0);
    int none = FSOUND_PlaySound3DAttrib(FSOUND_FREE, missing, -1, -1, -1, nullptr, nullptr);
    EXPECT_TRUE(none == -1 && FSOUND_SetVolume(none, 50) == 0);
    if (!initialised) GTEST_SKIP() << "no OpenAL device at all: " << printed;
    EXPECT_NE(printed.find("no-such-sound.wav"), std::string::npos) << printed;

    FSOUND_SAMPLE* loon =
        FSOUND_Sample_Load(FSOUND_FREE, (folder + "/loon5.wav").c_str(), FSOUND_LOOP_NORMAL, 0);
    ASSERT_NE(loon, nullptr);
    EXPECT_EQ(FSOUND_Sample_SetMinMaxDistance(loon, 4.0f, 100.0f), 1);
    int channel = FSOUND_PlaySound3DAttrib(FSOUND_FREE, loon, -1, -1, -1, nullptr, nullptr);
    EXPECT_TRUE(channel >= 0 && FSOUND_SetVolume(channel, 50) == 1) << channel;

    // A sound played again on its channel makes no new one; after closing, every call is a no-op.
    const float place[3] = {0, 0, -400};
    EXPECT_EQ(FSOUND_PlaySound3DAttrib(channel, loon, -1, 0, -1, place, nullptr), channel);
    EXPECT_EQ(FSOUND_3D_SetAttributes(channel, place, nullptr), 1);
    FSOUND_Close();
    EXPECT_TRUE(FSOUND_3D_SetAttributes(channel, place, nullptr) == 0 && FSOUND_SetVolume(channel, 50) == 0);
}

TEST(ShaderSource, EntryBecomesMainAfterTheVersionLineOrTheSourceIsRefused) {
    const struct {
        const char *source, *entry, *expected;
    } cases[] = {
        {"#version 120\nvoid vert() {}\n", "vert", "#version 120\n#define vert main\nvoid vert() {}\n"},
        {"void frag() {}\n", "frag", "#define frag main\nvoid frag() {}\n"},
        {"// note\n#version 120\nvoid f() {}", "f", "// note\n#version 120\n#define f main\nvoid f() {}"},
        {"#version 120", "vert", "#version 120\n#define vert main\n"}};
    for (const auto& c : cases) {
        char out[256];
        ASSERT_TRUE(prepareShaderSource(c.source, c.entry, out, sizeof out)) << c.source;
        EXPECT_EQ(std::string(out), c.expected);
    }
    char small[16];
    EXPECT_FALSE(prepareShaderSource("#version 120\nvoid vert() {}\n", "vert", small, sizeof small));
}

TEST(BlackKeyAlpha, AnyZeroChannelIsTransparent) {
    const unsigned char rgb[] = {0, 200, 200, 0, 0, 0, 1, 1, 1, 200, 0, 7, 9, 9, 0, 255, 255, 255};
    const std::vector<unsigned char> rgba = {0,   200, 200, 0, 0, 0, 0, 0, 1,   1,   1,   255,
                                             200, 0,   7,   0, 9, 9, 0, 0, 255, 255, 255, 255};
    unsigned char* got = addBlackKeyAlpha(3, 2, rgb);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(got, got + rgba.size()), rgba);
    std::free(got);
}

} // namespace
