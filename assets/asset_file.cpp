// Shared helpers of the writers: open or write a file in the run folder.
#include "assets/writers.h"

#include <cstdio>

FILE* openAssetFile(const std::string& folder, const char* name) {
    std::string path = folder + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::fprintf(stderr, "canoe_assets: can't write %s\n", path.c_str());
    return file;
}

bool writeAssetBytes(const std::string& folder, const char* name, const std::vector<unsigned char>& bytes) {
    FILE* file = openAssetFile(folder, name);
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::fprintf(stderr, "canoe_assets: can't write %s/%s\n", folder.c_str(), name);
    return ok;
}
