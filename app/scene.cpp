// Start-up: the canoe's files read before the window exists, then initScene, the one-time set-up after
// it exists, in a fixed order (later steps rely on the GL state, textures and tables of earlier ones).
#include "app/scene.h"
#include "scene/clock.h"
#include "app/loon.h"
#include "app/stroke_sounds.h"
#include "canoe/canoe_textures.h"
#include "canoe/materials.h"
#include "canoe/rocking.h"
#include "canoe/shape_file.h"
#include "canoe/stroke_samples.h"
#include "ocean/normal_map.h"
#include "platform/textures.h"
#include "water/normal_map_texture.h"
#include "ocean/spectrum.h"
#include "ocean/surface.h"
#include "paddler/animation.h"
#include "paddler/model_tables.h"
#include "water/hull_mask.h"
#include "water/sky.h"
#include "water/cube_maps.h"
#include "water/water_shader.h"
#include "water/wave_field_texture.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

void readCanoeFiles() {
    std::ifstream shapeFileStream;
    for (int i = 0; i <= canoeShapeCount; i++) {
        std::string name = shapeFileNames[i];
        shapeFileStream.open(name);
        if (shapeFileStream.fail()) {
            std::printf("typo. try again\n\n");
            shapeFileStream.clear();
            std::exit(1);
        }
        // A damaged file has been named by the reader; drawing it would read past its tables.
        if (!readShapeFile(shapeFileStream, i)) std::exit(1);
        shapeFileStream.close();
        shapeFileStream.clear();
    }
    std::ifstream strokeFileStream("fstroke.stroke");
    readStrokeFile(strokeFileStream); // a missing or unusable file holds the canoe level
    strokeFileStream.close();
    strokeFileStream.clear();
}

void initScene() {
    // 1. Front-face material.
    const GLfloat white[] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT, GL_SPECULAR, white);
    glMaterialf(GL_FRONT, GL_SHININESS, 5);

    // 2. Light 1 now; its parameters come in step 14.
    glEnable(GL_LIGHT1);

    // 3. Fixed state.
    glEnable(GL_LIGHTING);
    glPointSize(8);
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glDrawBuffer(GL_BACK);

    // 4. Seed the random generator: each run shows a different sea.
    seedRandom(static_cast<unsigned int>(std::time(nullptr)));
    // 5. Water and sky resources.
    if (!allocateNormalMap()) {
        // Every tick writes this buffer; without it there is nothing sound to go on with.
        std::printf("failure to malloc\n");
        std::fflush(stdout);
        std::exit(1);
    }
    createNormalMapTexture();
    createWaveFieldTexture();
    createNormalizeCube();
    buildSkyDome(SKY_RADIUS, skyDome);
    skyTexture = loadJpegTexture("cloudy1.jpg");
    // 6. Wave spectrum.
    initSpectrum();
    // 7. Ocean time origin.
    simulationStartTime = wallClockSeconds();
    // 8. The OpenGL extension string.
    const GLubyte* extensions = glGetString(GL_EXTENSIONS);
    if (extensions) std::printf("%s", reinterpret_cast<const char*>(extensions));
    // 9. Environment and bottom cube maps.
    environmentCubeTexture = loadEnvironmentCube();
    bottomCubeTexture = loadBottomCube();
    // 10. Water shader.
    initWaterShader();
    // 11. The loon's call, looping from now on; the stroke's sounds on the same device.
    startLoonSound();
    startStrokeSounds();
    // 12. Paddler and paddle models.
    switch (initPaddlerModels()) {
    case PADDLER_MISSING:
        std::printf("K.man: can't open the paddler's model\n");
        std::exit(1);
    case PADDLER_REFUSED:
        std::printf("K.man: the paddler's model is refused\n");
        std::exit(1);
    case PADDLER_READY:
        break;
    }
    // 13. Material display lists.
    compileMaterialLists();

    // 14. Lights, positioned in eye coordinates (the model-view matrix is the identity here).
    const GLfloat lightPosition[] = {0, 10, 0, 1};
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT1, GL_SPECULAR, white);
    glLightfv(GL_LIGHT1, GL_POSITION, lightPosition);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);

    // 15. Canoe textures and cylindrical texture coordinates.
    loadCanoeTextures();
    // 16. Canoe rocking tables.
    initRocking();

    // 17. Dark blue wherever nothing is drawn.
    glClearColor(0.0f, 0.0f, 0.5f, 0.0f);

    // 18. Hull mask.
    std::ifstream maskStream("gunwale.mask");
    if (maskStream.fail()) {
        std::printf("can't find gunwale mask\n");
        std::exit(1);
    }
    if (!readGunwaleMask(maskStream)) std::exit(1); // a short mask would leave the water in the hull
    maskStream.close();
    maskStream.clear();
    // 19. Prime the first animation clip.
    startAnimation();
}
