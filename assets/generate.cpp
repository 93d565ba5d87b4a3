// The asset generator: writes every data file the program reads into the run folder given as the
// only argument. Deterministic: the same build writes the same bytes.
#include "assets/writers.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: canoe_assets RUN_FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    bool ok = writeSkyAndWaterImages(folder) && writeCanoeData(folder) && writePaddlerModels(folder) &&
              writeLoonSound(folder) && writeStrokeSounds(folder);
    if (!ok) {
        std::fprintf(stderr, "canoe_assets: could not write the run folder %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
