// A TGA file as an OpenGL texture.
#include "base/tga_texture.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>

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
