#pragma once

namespace tessera {

// Id handed to the next Texture asked for one before it was given one.
extern int nextTextureId;

// A named OpenGL 2-D texture. Making one creates the GL texture object, binds it and sets
// repeat wrapping and nearest filtering, so pixels can be uploaded straight away; level 0
// alone makes it complete.
class Texture {
public:
    explicit Texture(const char* text);
    virtual ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    virtual int setSize(int width, int height);
    virtual void bind() const;
    virtual void setName(const char* text);
    virtual void storeSize(int width, int height);
    virtual void setId(int n);
    virtual const char* name() const;
    virtual unsigned int glId() const;
    virtual int id();

    int width() const { return widthPixels; }
    int height() const { return heightPixels; }

private:
    unsigned int glName = 0;
    int idNumber = -1;
    char nameText[64] = {};
    int widthPixels = 0;
    int heightPixels = 0;
};

// A new texture holding the pixels (RGBA, rows bottom-up) at their own size, kept in the
// Stage's texture registry. It is left bound.
Texture* makePictureTexture(const char* name, const unsigned char* pixels, int width, int height);
// Deletes one made so when nothing draws it any more (a board given a new picture), and
// takes it out of the registry; null is nothing to do.
void releasePictureTexture(Texture* texture);

} // namespace tessera
