// The canoe's data files: the 16 ".shad" shapes, "fstroke.stroke", "gunwale.mask" and (through
// canoe_images.cpp) the canoe's BMP textures.
#include "assets/canoe_hull.h"
#include "assets/canoe_images.h"
#include "assets/canoe_shapes.h"
#include "assets/writers.h"

#include <cmath>

static bool writeShapes(const std::string& folder) {
    ShapeMesh stemLines = makeStemLines();
    // In the reader's order; the bow and stern line is one file that the program loads twice.
    struct Entry {
        const char* name;
        ShapeMesh mesh;
        double zOffset;
    };
    const Entry entries[] = {
        {"finouthull.shad", makeOuterHull(), 0.0},     {"fingun.shad", makeGunwales(), 0.0},
        {"fixfinbowsternline.shad", stemLines, 0.0},   {"finbump.shad", makeDecks(), 0.0},
        {"fininhull.shad", makeInnerHull(), 0.0},      {"fixfinseats.shad", makeSeats(), 0.0},
        {"fixfinribs.shad", makeRibs(), 0.0},          {"finribends.shad", makeRibEnds(), 0.0},
        {"finseatnet.shad", makeSeatNets(), 0.0},      {"fintump.shad", makeTumpLine(), 0.0},
        {"finaxhead.shad", makeAxeHead(), 0.0},        {"fixfinaxhandle.shad", makeAxeHandle(), 0.0},
        {"fixfinaxstring.shad", makeAxeString(), 0.5}, // the reader moves this shape 0.5 toward -z
        {"fixfincups.shad", makeCups(), 0.0},          {"finpaddle.shad", makePaddle(), 0.0},
    };
    for (const Entry& e : entries)
        if (!writeShapeFile(folder, e.name, e.mesh, e.zOffset)) return false;
    return true;
}

// One paddle stroke in 60 samples: the blade's tip and the grip from catch to recovery, and the
// blade's spin about the shaft. Only the count paces the program (the rocking cycle).
static bool writeStrokeSamples(const std::string& folder) {
    const int n = 60;
    FILE* file = openAssetFile(folder, "fstroke.stroke");
    if (!file) return false;
    std::fprintf(file, "samples\n%d\n", n);
    for (int pass = 0; pass < 3; pass++) {
        for (int i = 0; i < n; i++) {
            double phase = 2 * M_PI * i / n;
            double z = 20.0 * std::cos(phase), depth = std::max(0.0, std::sin(phase));
            if (pass == 0) std::fprintf(file, "%.4f %.4f %.4f\n", 18.0, -12.0 - 8.0 * depth, z - 30.0);
            if (pass == 1) std::fprintf(file, "%.4f %.4f %.4f\n", 10.0, 30.0 - 4.0 * depth, 0.6 * z - 34.0);
            if (pass == 2) std::fprintf(file, "%.4f\n", depth > 0 ? 0.0 : 90.0 * -std::sin(phase));
        }
    }
    bool ok = std::fclose(file) == 0;
    return ok;
}

// 22 stations along the inner rim of the gunwales, closer together toward the ends where the rim
// curves; A on the side toward -x, B on the side toward +x.
static bool writeGunwaleMask(const std::string& folder) {
    FILE* file = openAssetFile(folder, "gunwale.mask");
    if (!file) return false;
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 22; i++) {
            double u = -std::cos(M_PI * i / 21);
            Vec3 p = gunwaleInnerRim(u, side);
            std::fprintf(file, "%.4f %.4f %.4f\n", p.x, p.y, p.z);
        }
    return std::fclose(file) == 0;
}

bool writeCanoeData(const std::string& folder) {
    return writeShapes(folder) && writeStrokeSamples(folder) && writeGunwaleMask(folder) &&
           writeCanoeImages(folder);
}
