// Water and sky textures: the JPEG reader, the cube maps and the BMP texture makers. Decoding and
// the texel arithmetic need no GL; the thin upload functions sit beside them.
#include "water/textures.h"

#include "base/bmp.h"
#include "water/jpeg_file.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

unsigned int environmentCubeTexture = 0;
unsigned int bottomCubeTexture = 0;
unsigned int normalizeCubeTexture = 0;

// Stand-in pixel for an image that can't be read: a plain mid grey.
static const unsigned char plainPixel[4] = {128, 128, 128, 255};

// A new bound 2-D texture with repeat wrapping, 'filter' both ways, and the environment mode.
unsigned int begin2DTexture(int filter, int environmentMode) {
    GLuint texture = 0;
    glEnable(GL_TEXTURE_2D);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, environmentMode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Rows are packed without padding.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    return texture;
}

// Uploads the pixels to the bound 2-D texture, or the plain 1 x 1 stand-in when there are none.
static void upload2DTexture(GLint internalFormat, GLenum format, int width, int height,
                            const unsigned char* pixels) {
    if (pixels)
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    else
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, plainPixel);
}

unsigned int loadJpegTexture(const char* fileName) {
    int rowLength = 0, height = 0;
    unsigned char* pixels = readJpeg(fileName, &rowLength, &height);
    GLuint texture = begin2DTexture(GL_LINEAR, GL_BLEND);
    upload2DTexture(GL_RGB, GL_RGB, rowLength / 3, height, pixels);
    std::free(pixels);
    return texture;
}

static const GLenum cubeFaces[6] = {GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_X,
                                    GL_TEXTURE_CUBE_MAP_POSITIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y,
                                    GL_TEXTURE_CUBE_MAP_POSITIVE_Z, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z};

void enableCubeMapping() {
    glEnable(GL_TEXTURE_CUBE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
}

void disableCubeMapping() {
    glDisable(GL_TEXTURE_CUBE_MAP);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
}

void clampCubeMapToEdge() {
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
}

static GLuint beginCube() {
    enableCubeMapping();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture);
    clampCubeMapToEdge();
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_GENERATE_MIPMAP, GL_TRUE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    return texture;
}

// All six faces of a cube map must share one square size; a face that is missing or differs
// becomes a plain face of the size the others agree on, so the cube stays complete.
static void uploadCubeFace(int face, int width, int height, const unsigned char* pixels, int cubeSize) {
    if (pixels && width == cubeSize && height == cubeSize) {
        glTexImage2D(cubeFaces[face], 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
        return;
    }
    unsigned char* plain =
        static_cast<unsigned char*>(std::malloc(static_cast<size_t>(cubeSize) * cubeSize * 3));
    if (!plain) return;
    for (int i = 0; i < cubeSize * cubeSize; ++i)
        std::memcpy(plain + i * 3, plainPixel, 3);
    glTexImage2D(cubeFaces[face], 0, GL_RGB, cubeSize, cubeSize, 0, GL_RGB, GL_UNSIGNED_BYTE, plain);
    std::free(plain);
}

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
    GLuint texture = beginCube();
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
    GLuint texture = beginCube();
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
        glTexImage2D(cubeFaces[face], level, GL_RGB8, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, buffer);
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

unsigned char* addBlackKeyAlpha(int width, int height, const unsigned char* rgb) {
    size_t count = static_cast<size_t>(width) * height;
    unsigned char* rgba = static_cast<unsigned char*>(std::malloc(count * 4 > 0 ? count * 4 : 1));
    if (!rgba) {
        std::printf("failure to malloc");
        std::fflush(stdout);
        return nullptr;
    }
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* in = rgb + i * 3;
        unsigned char* out = rgba + i * 4;
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = (in[0] == 0 || in[1] == 0 || in[2] == 0) ? 0 : 255;
    }
    return rgba;
}

// Both BMP makers: nearest filters, modulate, and object-linear coordinates for the models.
static unsigned int makeBmpTexture(const char* fileName, bool blackKey) {
    RgbImage* image = loadBmpImage(fileName);
    unsigned char* rgba =
        image && blackKey ? addBlackKeyAlpha(image->width, image->height, image->pixels) : nullptr;
    const unsigned char* pixels = blackKey ? rgba : image ? image->pixels : nullptr;
    GLuint texture = begin2DTexture(GL_NEAREST, GL_MODULATE);
    if (!pixels) std::printf("%s: a plain texture is used instead\n", fileName);
    GLint format = blackKey ? GL_RGBA : GL_RGB;
    upload2DTexture(format, format, pixels ? image->width : 1, pixels ? image->height : 1, pixels);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    std::free(rgba);
    freeRgbImage(image);
    return texture;
}

unsigned int loadBmpTexture(const char* fileName) {
    return makeBmpTexture(fileName, false);
}

unsigned int loadKeyedBmpTexture(const char* fileName) {
    return makeBmpTexture(fileName, true);
}
