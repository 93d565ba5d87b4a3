// Shared by the fuzz targets: a scratch file for readers that take a file name (one per process,
// rewritten for every input) and silencing of the readers' messages on standard output.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace fuzz {

inline std::string& scratchPath() {
    static std::string path;
    return path;
}

inline void removeScratchFile() {
    if (!scratchPath().empty()) std::remove(scratchPath().c_str());
}

// Writes the input to "<dir>/canoe-fuzz-<pid>-<suffix>" (dir: TMPDIR, else /dev/shm when writable, else
// /tmp) and returns that name; the same file serves every input of the run. A crash leaves it behind,
// so scripts/fuzz points TMPDIR into a scratch folder it removes.
inline const char* writeScratchFile(const uint8_t* data, size_t size, const char* suffix) {
    std::string& path = scratchPath();
    if (path.empty()) {
        const char* dir = std::getenv("TMPDIR");
        if (!dir || !dir[0]) dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        path = std::string(dir) + "/canoe-fuzz-" + std::to_string(getpid()) + "-" + suffix;
        std::atexit(removeScratchFile);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    return path.c_str();
}

// The readers print a line for every refused file; at thousands of inputs a second that is noise.
inline void quietStdout() {
    if (!std::getenv("CANOE_FUZZ_VERBOSE")) std::freopen("/dev/null", "w", stdout);
}

} // namespace fuzz
