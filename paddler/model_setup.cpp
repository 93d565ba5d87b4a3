// Start-up of the paddler and the paddle in their fixed order, with the GL texture loaders.
#include "paddler/model_tables.h"

#include "platform/textures.h"

#include <cstdio>

namespace {

unsigned int bmpTexture(const char* path) {
    return loadBmpTexture(path);
}

int tgaTexture(const char* path) {
    TgaLoader loader;
    return loader.loadTgaTexture(path);
}

} // namespace

PaddlerStart initPaddlerModels() {
    if (!paddlerModelFile.isOpen()) return PADDLER_MISSING;
    if (!loadPaddlerModel(paddlerModelFile)) return PADDLER_REFUSED;
    preparePaddler(bmpTexture, tgaTexture);

    if (!paddleModelFile.isOpen())
        std::printf("K.pad: can't open the paddle's model; the paddle is left out\n");
    else if (!loadPaddleModel(paddleModelFile))
        std::printf("K.pad: the paddle's model is refused; the paddle is left out\n");
    preparePaddle(bmpTexture);
    return PADDLER_READY;
}
