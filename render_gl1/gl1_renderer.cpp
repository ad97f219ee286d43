// The OpenGL 1.1 renderer: frames as the program has always drawn them (the board's display
// list, the batch in one vertex array, the toolbar and the tools in immediate mode, the
// rubber band in window pixels), the lights and the projection kept as OpenGL state, and
// picking through OpenGL's selection mode, the oracle the CPU pick is held against. A frame
// at a render scale below 1 is drawn in the corner of the viewport and stretched over it.
#include "frame/render_scale.h"
#include "frame/renderer.h"
#include "scene/model.h"
#include "scene/shape_batch.h"
#include "scene/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <array>
#include <cstring>

namespace tessera {

namespace {

// Each hit record is 4 ints (one name on the stack), so this holds 128 records.
constexpr GLsizei selectBufferSize = 512;

class Gl1Renderer : public Renderer {
public:
    void prepareBoard(const BoardPicture& picture, Model& model) override;
    int draw(const Frame& frame) override;
    void project(const Projection& projection) override;
    void switchOnLight(int index, const LightSource& light) override;
    void moveLight(int index, const LightSource& light) override;
    bool selectionHits(const Frame& frame, int x, int y, double size,
                       std::vector<unsigned int>& names) override;

private:
    int select(const Frame& frame, int x, int y, double size, GLuint* buffer, GLsizei room);
    // Loads the projection through a camera: within the pick region while selecting.
    void loadCamera(const Projection& camera) const;
    void drawToolbar(const Frame& frame) const;
    int drawScene(const Frame& frame);
    void beginWindowPixels() const;
    void drawRubberBand(const Frame& frame) const;
    void drawOverlay(const Overlay& overlay) const;
    // glLineWidth of width window pixels, at the scale the frame is drawn at.
    void setLineWidth(float width) const;
    // The frame drawn in the shown part of the window's viewport, copied and stretched over
    // the viewport set, the window's.
    void stretch(const std::array<int, 4>& shown);

    Model* board = nullptr;
    // gluPickMatrix's arguments while select runs.
    bool picking = false;
    std::array<GLdouble, 4> pickRegion = {};
    std::array<GLint, 4> pickViewport = {};
    // While a frame at a scale below 1 is drawn: the scale, the part of the viewport drawn
    // in, and the window's viewport, in whose pixels the rubber band and the overlay are.
    float lineScale = 1.0f;
    bool scaling = false;
    std::array<int, 4> shownViewport = {};
    std::array<int, 4> windowViewport = {};
    // The last line width asked for, unscaled: a scaled frame leaves it as a frame at 1 does.
    mutable float lineWidth = 1.0f;
    // What a scaled frame is copied into, made for a window of its size and kept while the
    // size holds; its own size the window's, or the next powers of two.
    GLuint copy = 0;
    std::array<int, 2> copyMadeFor = {0, 0};
    std::array<int, 2> copySize = {0, 0};
};

// The picture is uploaded at its own size and recorded, with its quad, as the board's
// display list; the picture it replaces goes.
void Gl1Renderer::prepareBoard(const BoardPicture& picture, Model& model) {
    Texture* replaced = model.texture();
    model.setTexture(
        makePictureTexture(picture.name, picture.pixels, picture.width, picture.height));
    releasePictureTexture(replaced);
    model.beginList();
    glBegin(GL_QUADS);
    for (const BoardPicture::Corner& corner : picture.corners) {
        glTexCoord3f(corner.texture.x, corner.texture.y, corner.texture.z);
        glVertex3f(corner.position.x, corner.position.y, corner.position.z);
    }
    glEnd();
    model.endList();
    board = &model;
}

void Gl1Renderer::project(const Projection& projection) {
    glMatrixMode(GL_PROJECTION);
    const auto [x, y, width, height] = projection.viewport;
    glViewport(x, y, width, height);
    loadCamera(projection);
}

void Gl1Renderer::loadCamera(const Projection& camera) const {
    glLoadIdentity();
    if (picking) {
        std::array<GLint, 4> shown = pickViewport; // GLU takes it as writable
        gluPickMatrix(pickRegion[0], pickRegion[1], pickRegion[2], pickRegion[3], shown.data());
    }
    gluPerspective(camera.fieldOfView, camera.aspect, camera.zNear, camera.zFar);
    glTranslatef(-camera.eye.x, -camera.eye.y, -camera.eye.z);
}

// The modelview is the identity whenever a light is sent, so positions are in board units.
void Gl1Renderer::switchOnLight(int index, const LightSource& light) {
    const GLenum name = GL_LIGHT0 + static_cast<GLenum>(index);
    glLightfv(name, GL_AMBIENT, light.ambient.data());
    glLightfv(name, GL_DIFFUSE, light.diffuse.data());
    glLightfv(name, GL_SPECULAR, light.specular.data());
    glLightfv(name, GL_POSITION, light.position.data());
    glEnable(name);
}

void Gl1Renderer::moveLight(int index, const LightSource& light) {
    glLightfv(GL_LIGHT0 + static_cast<GLenum>(index), GL_POSITION, light.position.data());
}

// As a shape kind's own draw: its first outline under its transform, in its colour.
void drawOutline(const Frame& frame, const Outline& outline) {
    glPushMatrix();
    glDisable(GL_TEXTURE_2D);
    glTranslatef(outline.position.x, outline.position.y, outline.position.z);
    const float s = outline.scale;
    glScalef(s, s, s);
    glRotatef(outline.rotation.x, 1.0f, 0.0f, 0.0f);
    glRotatef(outline.rotation.y, 0.0f, 1.0f, 0.0f);
    glRotatef(outline.rotation.z, 0.0f, 0.0f, 1.0f);
    glColor3f(outline.colour.x, outline.colour.y, outline.colour.z);
    if (outline.count >= 3) {
        glBegin(outline.count == 3 ? GL_TRIANGLES : outline.count == 4 ? GL_QUADS : GL_POLYGON);
        for (std::size_t i = outline.first; i < outline.first + outline.count; ++i) {
            const Vec3& p = frame.points[i];
            glNormal3f(0.0f, 0.0f, 1.0f);
            glVertex3f(p.x, p.y, p.z);
        }
        glEnd();
    }
    glPopMatrix();
}

void drawStrip(const std::array<StripCorner, 4>& strip) {
    glBegin(GL_QUADS);
    for (const StripCorner& corner : strip) {
        glColor3f(corner.colour.x, corner.colour.y, corner.colour.z);
        glNormal3f(0.0f, 0.0f, 1.0f);
        glVertex3f(corner.position.x, corner.position.y, corner.position.z);
    }
    glEnd();
}

// Window pixels, y downwards, over everything drawn so far: no depth test, colour material,
// lighting or texture, and both matrices pushed.
void Gl1Renderer::beginWindowPixels() const {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (scaling) {
        viewport[2] = windowViewport[2];
        viewport[3] = windowViewport[3];
    }
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, viewport[2], viewport[3], 0.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

// Both matrices back; the matrix mode is left at GL_PROJECTION, and the next frame sets
// what it needs.
void endWindowPixels() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

// In window pixels over everything else.
void Gl1Renderer::drawRubberBand(const Frame& frame) const {
    beginWindowPixels();
    glColor3f(frame.bandColour.x, frame.bandColour.y, frame.bandColour.z);
    if (!frame.band.empty()) {
        glBegin(GL_LINES);
        for (const Segment& segment : frame.band) {
            glVertex2f(segment.x1, segment.y1);
            glVertex2f(segment.x2, segment.y2);
        }
        glEnd();
    }
    endWindowPixels();
}

// In window pixels over everything, as the rubber band; the state it leaves is the band's.
void Gl1Renderer::drawOverlay(const Overlay& overlay) const {
    beginWindowPixels();
    const auto send = [](GLenum mode, const std::vector<OverlayVertex>& vertices) {
        if (vertices.empty()) {
            return;
        }
        glBegin(mode);
        for (const OverlayVertex& vertex : vertices) {
            glColor3f(vertex.colour.x, vertex.colour.y, vertex.colour.z);
            glVertex2f(vertex.x, vertex.y);
        }
        glEnd();
    };
    send(GL_TRIANGLES, overlay.triangles);
    setLineWidth(overlay.lineWidth);
    send(GL_LINES, overlay.lines);
    endWindowPixels();
}

// Through its own camera and without the depth test: its parts are drawn back to front, and
// no shape, however near, hides it.
void Gl1Renderer::drawToolbar(const Frame& frame) const {
    const bool rendering = !frame.selecting;
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    loadCamera(frame.toolbarProjection);
    glMatrixMode(GL_MODELVIEW);
    setLineWidth(frame.stripLineWidth);
    if (rendering) {
        drawStrip(frame.strip);
    }

    setLineWidth(frame.toolLineWidth);
    for (std::size_t i = 0; i < frame.tools.size(); ++i) {
        if (!rendering) {
            glLoadName(static_cast<GLuint>(frame.shapes.size() + i));
        }
        drawOutline(frame, frame.tools[i]);
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void Gl1Renderer::setLineWidth(float width) const {
    lineWidth = width;
    glLineWidth(width * lineScale);
}

// At a scale below 1 the frame is drawn as at 1 but in a smaller viewport, with lines as
// much thinner, and then stretched: the viewport and the line width are put back as a frame
// at 1 leaves them, and stretch leaves the rest as it found it.
int Gl1Renderer::draw(const Frame& frame) {
    const std::array<int, 4>& window = frame.projection.viewport;
    const std::array<int, 4> shown = scaledViewport(window, frame.renderScale);
    if (frame.selecting || shown == window || window[2] <= 0 || window[3] <= 0) {
        return drawScene(frame);
    }
    scaling = true;
    lineScale = static_cast<float>(frame.renderScale);
    shownViewport = shown;
    windowViewport = window;
    const int drawn = drawScene(frame);
    scaling = false;
    lineScale = 1.0f;
    const auto [x, y, width, height] = window;
    glViewport(x, y, width, height);
    if (drawn != 0) {
        stretch(shown);
    }
    glLineWidth(lineWidth);
    return drawn;
}

bool nonPowerOfTwoTextures() {
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions != nullptr &&
           std::strstr(extensions, "GL_ARB_texture_non_power_of_two") != nullptr;
}

int powerOfTwoFrom(int side) {
    int power = 1;
    while (power < side) {
        power *= 2;
    }
    return power;
}

// The copy's last column and row are repeated past its edges, so that filtering at the
// window's right and top edges blends no stale texels in.
void Gl1Renderer::stretch(const std::array<int, 4>& shown) {
    const std::array<int, 4>& window = windowViewport;
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    if (copy == 0 || copyMadeFor != std::array<int, 2>{window[2], window[3]}) {
        if (copy != 0) {
            glDeleteTextures(1, &copy);
        }
        const bool exact = nonPowerOfTwoTextures();
        copyMadeFor = {window[2], window[3]};
        copySize = {exact ? window[2] : powerOfTwoFrom(window[2]),
                    exact ? window[3] : powerOfTwoFrom(window[3])};
        glGenTextures(1, &copy);
        glBindTexture(GL_TEXTURE_2D, copy);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, copySize[0], copySize[1], 0, GL_RGB,
                     GL_UNSIGNED_BYTE, nullptr);
    }
    glBindTexture(GL_TEXTURE_2D, copy);
    const auto [x, y, width, height] = shown;
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, y, width, height);
    const bool column = width < copySize[0];
    const bool row = height < copySize[1];
    if (column) {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, width, 0, x + width - 1, y, 1, height);
    }
    if (row) {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, height, x, y + height - 1, width, 1);
    }
    if (column && row) {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, width, height, x + width - 1, y + height - 1, 1, 1);
    }

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const float s = static_cast<float>(width) / static_cast<float>(copySize[0]);
    const float t = static_cast<float>(height) / static_cast<float>(copySize[1]);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(s, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(s, t);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, t);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glPopAttrib();
}

// NOTE: the order of these calls is part of the design: each step relies on the GL state
// the one before leaves, and picking runs the same body in selection mode so that what is
// hit is exactly what is seen.
int Gl1Renderer::drawScene(const Frame& frame) {
    if (frame.clear != Frame::KeepBuffers) {
        glClear(frame.clear == Frame::ClearDepth ? GL_DEPTH_BUFFER_BIT
                                                 : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    if (frame.setsProjection) {
        project(frame.projection);
    }
    if (scaling) {
        const auto [x, y, width, height] = shownViewport;
        glViewport(x, y, width, height);
    }
    const bool rendering = !frame.selecting;
    if (rendering) {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        if (frame.lighting.light0) {
            glEnable(GL_LIGHT0);
        }
        if (frame.lighting.colourMaterial) {
            glEnable(GL_COLOR_MATERIAL);
        }
    } else {
        glDisable(GL_LIGHTING);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);

    if (rendering && (board == nullptr || board->draw() != 1)) {
        return 0;
    }

    glEnable(GL_LIGHTING);
    if (frame.triangles != nullptr) {
        drawTriangles(*frame.triangles);
    } else {
        for (std::size_t i = 0; i < frame.shapes.size(); ++i) {
            if (!rendering) {
                glLoadName(static_cast<GLuint>(i));
            }
            drawOutline(frame, frame.shapes[i]);
        }
    }

    drawToolbar(frame);
    glEnable(GL_LIGHTING);

    if (rendering && frame.gesture) {
        drawRubberBand(frame);
    }
    if (rendering && frame.overlay != nullptr) {
        drawOverlay(*frame.overlay);
    }
    return 1;
}

int Gl1Renderer::select(const Frame& frame, int x, int y, double size, GLuint* buffer,
                        GLsizei room) {
    GLint shown[4];
    glGetIntegerv(GL_VIEWPORT, shown);
    glSelectBuffer(room, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    // The pointer's y runs down from the viewport's top row.
    pickRegion = {static_cast<GLdouble>(shown[0] + x),
                  static_cast<GLdouble>(shown[1] + shown[3] - y), size, size};
    pickViewport = {shown[0], shown[1], shown[2], shown[3]};
    picking = true;
    loadCamera(frame.projection);
    draw(frame);
    picking = false;
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glFlush();
    return glRenderMode(GL_RENDER);
}

bool Gl1Renderer::selectionHits(const Frame& frame, int x, int y, double size,
                                std::vector<unsigned int>& names) {
    names.clear();
    std::array<GLuint, selectBufferSize> small;
    std::vector<GLuint> large;
    GLuint* records = small.data();
    int hits = select(frame, x, y, size, records, selectBufferSize);
    if (hits < 0) {
        // More objects lie under the pointer than the buffer holds (a trail painted over
        // and over): every object makes at most one record, so this size always suffices.
        large.resize(4 * (frame.shapes.size() + frame.tools.size()) + 4);
        records = large.data();
        hits = select(frame, x, y, size, records, static_cast<GLsizei>(large.size()));
    }
    const GLuint* record = records;
    for (int h = 0; h < hits; ++h) {
        const GLuint count = record[0];
        const GLuint* name = record + 3; // past the count and the two depths
        names.insert(names.end(), name, name + count);
        record = name + count;
    }
    return true;
}

} // namespace

std::unique_ptr<Renderer> makeRenderer() {
    return std::make_unique<Gl1Renderer>();
}

} // namespace tessera
