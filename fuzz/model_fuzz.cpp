// Feeds each input as a model file on disk to the paddle's and the paddler's loading (loadModel through
// BinaryReadFile plus their checks), then runs the GL-free start-up and a few animation frames on
// whatever was accepted, since those follow the model's indices without checking them again.
#include "fuzz_input.h"
#include "paddler/animation.h"
#include "paddler/frame_update.h"
#include "paddler/model_tables.h"
#include "paddler/skeleton.h"
#include "paddler/skinning.h"
#include "paddler/strokes.h"

namespace {

unsigned int stubBmp(const char*) {
    return 7;
}
int stubTga(const char* path) {
    return path[0] == 'x' ? -1 : 8;
}

void startPaddler() {
    setupSkeleton(&paddler.model.roots[0]);
    fillPaddlerTextureSlots(paddler, stubBmp, stubTga);
    buildFaceRecords(paddler);
    weightPaddlerSkin(paddler, blendList);
    applyMaterials(paddler, false);
    markFaceBindings(paddler);
    paddlerClipCount = paddler.model.clipCount;
    paddlerClips = paddler.model.clips;
    resetStrokes(SIDE_CLIPS[1].idle, 1);
    frameClock = FrameClock();
    startAnimation();
    // Two seconds in frames of a quarter: clips end and start again on the way.
    for (int frame = 0; frame <= 8; ++frame)
        updateFrame(0.25 * frame);
    animationOn = false;
}

void startPaddle() {
    buildFaceRecords(paddle);
    weightPaddleSkin(paddle);
    fillPaddleTextureSlots(paddle, stubBmp);
    applyMaterials(paddle, true);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quietStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* path = fuzz::writeScratchFile(data, size, "model.man");
    {
        BinaryReadFile file(path);
        if (loadPaddleModel(file)) startPaddle();
    }
    {
        BinaryReadFile file(path);
        if (loadPaddlerModel(file)) startPaddler();
    }
    return 0;
}
