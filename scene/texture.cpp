#include "scene/texture.h"

#include "stage/stage.h"

#include <GL/gl.h>
#include <cstring>

namespace tessera {

int nextTextureId = 1;

Texture::Texture(const char* text) {
    Texture::setName(text);
    Texture::storeSize(0, 0);
    glGenTextures(1, &glName);
    Texture::bind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}

Texture::~Texture() {
    glDeleteTextures(1, &glName);
}

int Texture::setSize(int width, int height) {
    storeSize(width, height);
    return 1;
}

void Texture::bind() const {
    glBindTexture(GL_TEXTURE_2D, glName);
}

void Texture::setName(const char* text) {
    std::strncpy(nameText, text, sizeof nameText);
    nameText[sizeof nameText - 1] = '\0';
}

void Texture::storeSize(int width, int height) {
    widthPixels = width;
    heightPixels = height;
}

void Texture::setId(int n) {
    idNumber = n;
    if (n >= nextTextureId) {
        nextTextureId = n + 1;
    }
}

const char* Texture::name() const {
    return nameText;
}

unsigned int Texture::glId() const {
    return glName;
}

int Texture::id() {
    if (idNumber == -1) {
        idNumber = nextTextureId++;
    }
    return idNumber;
}

Texture* makePictureTexture(const char* name, const unsigned char* pixels, int width, int height) {
    auto* texture = new Texture(name);
    texture->setSize(width, height);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    Stage::instance()->registerTexture(texture);
    return texture;
}

void releasePictureTexture(Texture* texture) {
    if (texture == nullptr) {
        return;
    }
    Stage::instance()->unregisterTexture(texture);
    delete texture;
}

} // namespace tessera
