// The texture makers: 2-D textures from image files with a plain stand-in for a file that can't be
// read, the TGA loader, and the set-up and face uploads of cube maps.
#include "platform/textures.h"

#include "base/bmp.h"
#include "base/jpeg.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

int TgaLoader::loadTgaTexture(const char* fileName) {
    TgaImage image;
    int result = readTgaImage(fileName, &image);
    if (result == TGA_REFUSED) {
        std::printf("%s: can't open it, or not an uncompressed 32, 24 or 8 bit TGA\n", fileName);
        return result;
    }
    if (result == TGA_READ_FAILED) {
        std::printf("%s: the file holds fewer pixels than its header promises\n", fileName);
        return result;
    }
    format = image.format;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Stays in force for every later upload (odd row lengths rely on it).
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexImage2D(GL_TEXTURE_2D, 0, image.format, image.width, image.height, 0, image.format, GL_UNSIGNED_BYTE,
                 image.pixels);
    std::free(image.pixels);
    return static_cast<int>(texture);
}

static const GLenum cubeFaces[6] = {GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_X,
                                    GL_TEXTURE_CUBE_MAP_POSITIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y,
                                    GL_TEXTURE_CUBE_MAP_POSITIVE_Z, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z};

unsigned int cubeFaceTarget(int face) {
    return cubeFaces[face];
}

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

unsigned int beginCubeTexture() {
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

void uploadCubeFace(int face, int width, int height, const unsigned char* pixels, int cubeSize) {
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
