// Shared helper of the writers: open a file in the run folder.
#include "assets/writers.h"

#include <cstdio>

FILE* openAssetFile(const std::string& folder, const char* name) {
    std::string path = folder + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::fprintf(stderr, "canoe_assets: can't write %s\n", path.c_str());
    return file;
}
