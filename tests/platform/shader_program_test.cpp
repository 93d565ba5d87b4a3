// The shader runtime's source preparation: the entry function becomes main, after any #version line; a
// source that would not fit the buffer with its #define is refused.
#include "platform/shader_program.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ShaderSource, EntryBecomesMainAfterTheVersionLineOrTheSourceIsRefused) {
    struct Case {
        const char* source;
        const char* entry;
        const char* expected;
    };
    const Case cases[] = {
        {"#version 120\nvoid vert() {}\n", "vert", "#version 120\n#define vert main\nvoid vert() {}\n"},
        {"void frag() {}\n", "frag", "#define frag main\nvoid frag() {}\n"},
        {"// note\n#version 120\nvoid f() {}", "f", "// note\n#version 120\n#define f main\nvoid f() {}"},
        {"#version 120", "vert", "#version 120\n#define vert main\n"},
    };
    for (const Case& c : cases) {
        char out[256];
        ASSERT_TRUE(prepareShaderSource(c.source, c.entry, out, sizeof out)) << c.source;
        EXPECT_EQ(std::string(out), c.expected);
    }
    char small[16];
    EXPECT_FALSE(prepareShaderSource("#version 120\nvoid vert() {}\n", "vert", small, sizeof small));
}

} // namespace
