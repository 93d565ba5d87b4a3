// Start-up of the paddler and the paddle in their fixed order; the only part that touches GL (the
// texture loaders) and the process exit for a paddler that can't be loaded.
#include "paddler/model_tables.h"

#include "scene/view.h"
#include "base/tga.h"
#include "water/textures.h"

#include <cstdio>
#include <cstdlib>

namespace {

unsigned int bmpTexture(const char* path) {
    return loadBmpTexture(path);
}

int tgaTexture(const char* path) {
    TgaLoader loader;
    return loader.loadTgaTexture(path);
}

} // namespace

void initPaddlerModels() {
    if (!paddlerModelFile.isOpen()) {
        std::printf("K.man: can't open the paddler's model\n");
        std::exit(1);
    }
    if (!loadPaddlerModel(paddlerModelFile)) {
        std::printf("K.man: the paddler's model is refused\n");
        std::exit(1);
    }
    preparePaddler(bmpTexture, tgaTexture);

    sceneMatrix.setIdentity();

    if (!paddleModelFile.isOpen())
        std::printf("K.pad: can't open the paddle's model; the paddle is left out\n");
    else if (!loadPaddleModel(paddleModelFile))
        std::printf("K.pad: the paddle's model is refused; the paddle is left out\n");
    preparePaddle(bmpTexture);
}
