// The water's cube maps: the sky's environment from its six faces, the sea bottom, and the
// normalisation cube, whose texel arithmetic needs no GL.
#include "water/cube_maps.h"

#include "base/bmp.h"
#include "base/jpeg.h"
#include "platform/textures.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>

unsigned int environmentCubeTexture = 0;
unsigned int bottomCubeTexture = 0;
unsigned int normalizeCubeTexture = 0;

// The size most of the readable square faces share (the first such face breaks a tie), so that one
// odd face is the one left plain; 1 when no face is square.
static int commonCubeSize(RgbImage* const images[6]) {
    int best = 1, bestVotes = 0;
    for (int face = 0; face < 6; ++face) {
        if (!images[face] || images[face]->width != images[face]->height) continue;
        int votes = 0;
        for (int other = 0; other < 6; ++other)
            if (images[other] && images[other]->width == images[face]->width &&
                images[other]->height == images[face]->width)
                ++votes;
        if (votes > bestVotes) best = images[face]->width, bestVotes = votes;
    }
    return best;
}

unsigned int loadEnvironmentCube() {
    static const char* const faceFiles[6] = {"ixpos.bmp", "ixneg.bmp", "iypos.bmp",
                                             "iyneg.bmp", "izpos.bmp", "izneg.bmp"};
    GLuint texture = beginCubeTexture();
    RgbImage* images[6];
    for (int face = 0; face < 6; ++face)
        images[face] = loadBmpImage(faceFiles[face]);
    int cubeSize = commonCubeSize(images);
    for (int face = 0; face < 6; ++face) {
        RgbImage* image = images[face];
        if (!image || image->width != cubeSize || image->height != cubeSize)
            std::printf("%s: not a %d x %d cube face; a plain face is used\n", faceFiles[face], cubeSize,
                        cubeSize);
        uploadCubeFace(face, image ? image->width : 0, image ? image->height : 0,
                       image ? image->pixels : nullptr, cubeSize);
        freeRgbImage(image);
    }
    disableCubeMapping();
    return texture;
}

unsigned int loadBottomCube() {
    GLuint texture = beginCubeTexture();
    int cubeSize = 0;
    for (int face = 0; face < 6; ++face) {
        int rowLength = 0, height = 0;
        unsigned char* pixels = readJpeg("bottom.jpg", &rowLength, &height);
        // Every face decodes the same file; a non-square one gives plain faces.
        if (cubeSize == 0) {
            cubeSize = (pixels && rowLength / 3 == height) ? height : 1;
            if (pixels && cubeSize == 1)
                std::printf("bottom.jpg: %d x %d pixels is not square; the sea bottom is plain\n",
                            rowLength / 3, height);
        }
        uploadCubeFace(face, rowLength / 3, height, pixels, cubeSize);
        std::free(pixels);
    }
    disableCubeMapping();
    return texture;
}

void computeNormalizeCubeFace(int size, int face, unsigned char* buffer) {
    float h = size / 2.0f;
    unsigned char* out = buffer;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float s = x + 0.5f - h;
            float t = y + 0.5f - h;
            float v[3];
            switch (face) {
            case 0:
                v[0] = h, v[1] = -t, v[2] = -s;
                break;
            case 1:
                v[0] = -h, v[1] = -t, v[2] = s;
                break;
            case 2:
                v[0] = s, v[1] = h, v[2] = t;
                break;
            case 3:
                v[0] = s, v[1] = -h, v[2] = -t;
                break;
            case 4:
                v[0] = s, v[1] = -t, v[2] = h;
                break;
            default:
                v[0] = -s, v[1] = -t, v[2] = -h;
                break;
            }
            float inverse = 1.0f / std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
            for (int c = 0; c < 3; ++c)
                *out++ = static_cast<unsigned char>(v[c] * inverse * 127.0f + 127.0f);
        }
}

void buildNormalizeCubeFaces(int size, int level) {
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size) * size * 3));
    if (!buffer) {
        std::printf("BOLLOCKS!!!");
        std::fflush(stdout);
        return;
    }
    for (int face = 0; face < 6; ++face) {
        computeNormalizeCubeFace(size, face, buffer);
        glTexImage2D(cubeFaceTarget(face), level, GL_RGB8, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, buffer);
    }
    std::free(buffer);
}

unsigned int createNormalizeCube() {
    glEnable(GL_TEXTURE_CUBE_MAP);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    clampCubeMapToEdge();
    buildNormalizeCubeFaces(32, 0);
    glDisable(GL_TEXTURE_CUBE_MAP);
    normalizeCubeTexture = texture;
    return texture;
}
