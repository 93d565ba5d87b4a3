// Main of every unit-test program: each process gets a scratch folder of its own as
// testing::TempDir(), so tests that write files can run in parallel, and it is removed at the end.
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    char pattern[] = "/tmp/canoe-test-XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (folder) setenv("TEST_TMPDIR", folder, 1);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    if (folder) std::system(("rm -rf '" + std::string(folder) + "'").c_str());
    return result;
}
