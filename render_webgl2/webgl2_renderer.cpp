// The WebGL 2 (OpenGL ES 3.0) renderer: the frame OpenGL 1.1 draws, with one shader pair.
// The vertex shader lights each vertex as fixed-function OpenGL does (two positional lights
// with ambient, diffuse and specular parts, colour material, the light model's ambient,
// per-vertex, then clamped); the fragment shader modulates the board's texture. Everything
// is taken from each frame; nothing of OpenGL 1.1's state is kept.
#include "frame/render_scale.h"
#include "frame/renderer.h"
#include "scene/model.h"
#include "scene/shape_transform.h"
#include "scene/texture.h"

#include <GLES3/gl3.h>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace tessera {

namespace {

const char* const vertexShader = R"(#version 300 es
uniform mat4 clip;
uniform mat4 place;
uniform bool lit;
uniform bool colourMaterial;
uniform vec3 modelAmbient;
uniform bool lightOn[2];
uniform vec3 lightAmbient[2];
uniform vec3 lightDiffuse[2];
uniform vec3 lightSpecular[2];
uniform vec4 lightPosition[2];
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec3 colour;
layout(location = 3) in vec2 textureCoordinate;
out vec4 shade;
out vec2 texel;

// OpenGL's default material: where colour material does not set them, ambient 0.2 and
// diffuse 0.8; specular black, shininess 0.
const vec3 materialSpecular = vec3(0.0);

void main() {
    vec4 eye = place * vec4(position, 1.0);
    gl_Position = clip * eye;
    texel = textureCoordinate;
    if (!lit) {
        shade = vec4(clamp(colour, 0.0, 1.0), 1.0);
        return;
    }
    vec3 ambient = colourMaterial ? colour : vec3(0.2);
    vec3 diffuse = colourMaterial ? colour : vec3(0.8);
    vec3 n = normalize(mat3(place) * normal);
    vec3 c = ambient * modelAmbient;
    for (int i = 0; i < 2; ++i) {
        if (!lightOn[i]) {
            continue;
        }
        vec4 at = lightPosition[i];
        vec3 l = normalize(at.w != 0.0 ? at.xyz / at.w - eye.xyz / eye.w : at.xyz);
        float facing = max(dot(n, l), 0.0);
        c += ambient * lightAmbient[i] + facing * diffuse * lightDiffuse[i];
        if (facing > 0.0) {
            // At shininess 0, (n . h) to the power 0 is 1 wherever the light faces.
            c += materialSpecular * lightSpecular[i];
        }
    }
    shade = vec4(clamp(c, 0.0, 1.0), 1.0);
}
)";

const char* const fragmentShader = R"(#version 300 es
precision highp float;
uniform bool textured;
uniform sampler2D picture;
in vec4 shade;
in vec2 texel;
out vec4 colour;

void main() {
    colour = textured ? shade * texture(picture, texel) : shade;
}
)";

using Matrix = std::array<float, 16>; // column-major, as OpenGL holds it

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix out{};
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum +=
                    a[static_cast<std::size_t>(4 * k + r)] * b[static_cast<std::size_t>(4 * c + k)];
            }
            out[static_cast<std::size_t>(4 * c + r)] = sum;
        }
    }
    return out;
}

const Matrix identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// As Model::draw places the board: translate, scale per axis, rotate about x, y, z.
Matrix boardPlacement(const BoardView& board) {
    Matrix m = identity;
    m[12] = board.position.x;
    m[13] = board.position.y;
    m[14] = board.position.z;
    Matrix scale = identity;
    scale[0] = board.scale.x;
    scale[5] = board.scale.y;
    scale[10] = board.scale.z;
    m = multiply(m, scale);
    const float angles[3] = {board.rotation.x, board.rotation.y, board.rotation.z};
    for (int axis = 0; axis < 3; ++axis) {
        const double radians = static_cast<double>(angles[axis]) * M_PI / 180.0;
        const auto s = static_cast<float>(std::sin(radians));
        const auto c = static_cast<float>(std::cos(radians));
        const int a = (axis + 1) % 3;
        const int b = (axis + 2) % 3;
        Matrix turn = identity;
        turn[static_cast<std::size_t>(5 * a)] = c;
        turn[static_cast<std::size_t>(5 * b)] = c;
        turn[static_cast<std::size_t>(4 * a + b)] = s;
        turn[static_cast<std::size_t>(4 * b + a)] = -s;
        m = multiply(m, turn);
    }
    return m;
}

// gluOrtho2D(0, width, height, 0): window pixels, y downwards.
Matrix windowPixels(int width, int height) {
    Matrix m = identity;
    m[0] = 2.0f / static_cast<float>(width);
    m[5] = -2.0f / static_cast<float>(height);
    m[10] = -1.0f;
    m[12] = -1.0f;
    m[13] = 1.0f;
    return m;
}

GLuint compile(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint done = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &done);
    if (done == 0) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "tessera: a shader does not compile: %s\n", log);
    }
    return shader;
}

struct BoardVertex {
    float x, y, z;
    float s, t;
};

class WebGl2Renderer : public Renderer {
public:
    void prepareBoard(const BoardPicture& picture, Model& model) override;
    int draw(const Frame& frame) override;

private:
    void build();
    void setLighting(const Lighting& lighting);
    void drawBoard(const Frame& frame);
    void drawStream(const std::vector<BatchVertex>& vertices, bool lit);
    void addOutline(const Frame& frame, const Outline& outline, bool lit);
    void addBand(const Frame& frame);

    bool built = false;
    GLuint program = 0;
    GLuint boardArray = 0;
    GLuint boardBuffer = 0;
    GLuint streamArray = 0;
    GLuint streamBuffer = 0;
    Texture* texture = nullptr;
    struct {
        GLint clip, place, lit, colourMaterial, modelAmbient, lightOn, lightAmbient, lightDiffuse,
            lightSpecular, lightPosition, textured, picture;
    } at = {};
    // Reused each frame: the outlines, strip and rubber band as triangles.
    std::vector<BatchVertex> scratch;
};

void WebGl2Renderer::build() {
    program = glCreateProgram();
    glAttachShader(program, compile(GL_VERTEX_SHADER, vertexShader));
    glAttachShader(program, compile(GL_FRAGMENT_SHADER, fragmentShader));
    glLinkProgram(program);
    glUseProgram(program);
    at = {glGetUniformLocation(program, "clip"),
          glGetUniformLocation(program, "place"),
          glGetUniformLocation(program, "lit"),
          glGetUniformLocation(program, "colourMaterial"),
          glGetUniformLocation(program, "modelAmbient"),
          glGetUniformLocation(program, "lightOn"),
          glGetUniformLocation(program, "lightAmbient"),
          glGetUniformLocation(program, "lightDiffuse"),
          glGetUniformLocation(program, "lightSpecular"),
          glGetUniformLocation(program, "lightPosition"),
          glGetUniformLocation(program, "textured"),
          glGetUniformLocation(program, "picture")};
    glUniform1i(at.picture, 0);

    glGenVertexArrays(1, &boardArray);
    glBindVertexArray(boardArray);
    glGenBuffers(1, &boardBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, boardBuffer);
    constexpr auto boardStride = static_cast<GLsizei>(sizeof(BoardVertex));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, boardStride, nullptr);
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, boardStride,
                          reinterpret_cast<const void*>(offsetof(BoardVertex, s)));

    glGenVertexArrays(1, &streamArray);
    glBindVertexArray(streamArray);
    glGenBuffers(1, &streamBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, streamBuffer);
    constexpr auto stride = static_cast<GLsizei>(sizeof(BatchVertex));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(BatchVertex, nx)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(BatchVertex, r)));
    glBindVertexArray(0);
    built = true;
}

// The quad as OpenGL splits it, corners 0 1 2 and 0 2 3.
void WebGl2Renderer::prepareBoard(const BoardPicture& picture, Model& model) {
    if (!built) {
        build();
    }
    Texture* replaced = texture;
    texture = makePictureTexture(picture.name, picture.pixels, picture.width, picture.height);
    model.setTexture(texture);
    releasePictureTexture(replaced);
    std::array<BoardVertex, 6> quad;
    const int corners[6] = {0, 1, 2, 0, 2, 3};
    for (std::size_t i = 0; i < quad.size(); ++i) {
        const BoardPicture::Corner& corner = picture.corners[static_cast<std::size_t>(corners[i])];
        quad[i] = {corner.position.x, corner.position.y, corner.position.z, corner.texture.x,
                   corner.texture.y};
    }
    glBindBuffer(GL_ARRAY_BUFFER, boardBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad.data(), GL_STATIC_DRAW);
}

void WebGl2Renderer::setLighting(const Lighting& lighting) {
    glUniform1i(at.colourMaterial, lighting.colourMaterial ? 1 : 0);
    glUniform3fv(at.modelAmbient, 1, lighting.modelAmbient.data());
    const GLint on[2] = {lighting.light0 ? 1 : 0, 1};
    glUniform1iv(at.lightOn, 2, on);
    float ambient[6], diffuse[6], specular[6], position[8];
    for (std::size_t i = 0; i < 2; ++i) {
        const LightSource& light = lighting.lights[i];
        for (std::size_t k = 0; k < 3; ++k) {
            ambient[3 * i + k] = light.ambient[k];
            diffuse[3 * i + k] = light.diffuse[k];
            specular[3 * i + k] = light.specular[k];
        }
        for (std::size_t k = 0; k < 4; ++k) {
            position[4 * i + k] = light.position[k];
        }
    }
    glUniform3fv(at.lightAmbient, 2, ambient);
    glUniform3fv(at.lightDiffuse, 2, diffuse);
    glUniform3fv(at.lightSpecular, 2, specular);
    glUniform4fv(at.lightPosition, 2, position);
}

void WebGl2Renderer::drawBoard(const Frame& frame) {
    const Matrix place = boardPlacement(frame.board);
    glUniformMatrix4fv(at.place, 1, GL_FALSE, place.data());
    glUniform1i(at.lit, 0);
    glUniform1i(at.textured, 1);
    glActiveTexture(GL_TEXTURE0);
    texture->bind();
    glBindVertexArray(boardArray);
    glVertexAttrib3f(1, 0.0f, 0.0f, 1.0f);
    glVertexAttrib3f(2, frame.board.colour.x, frame.board.colour.y, frame.board.colour.z);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glUniformMatrix4fv(at.place, 1, GL_FALSE, identity.data());
    glUniform1i(at.textured, 0);
}

void WebGl2Renderer::drawStream(const std::vector<BatchVertex>& vertices, bool lit) {
    if (vertices.empty()) {
        return;
    }
    glUniform1i(at.lit, lit ? 1 : 0);
    glBindVertexArray(streamArray);
    glVertexAttrib2f(3, 0.0f, 0.0f);
    glBindBuffer(GL_ARRAY_BUFFER, streamBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(BatchVertex)),
                 vertices.data(), GL_STREAM_DRAW);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
}

// An outline as a fan from its first point, as OpenGL splits a polygon.
void WebGl2Renderer::addOutline(const Frame& frame, const Outline& outline, bool lit) {
    if (outline.count < 3) {
        return;
    }
    const ShapeTransform place(outline.position, outline.scale, outline.rotation);
    const Vec3 n = lit ? place.normal() : Vec3(0.0f, 0.0f, 1.0f);
    const Vec3& c = outline.colour;
    const auto vertex = [&](std::size_t k) {
        const Vec3 p = place.apply(frame.points[outline.first + k]);
        return BatchVertex{p.x, p.y, p.z, n.x, n.y, n.z, c.x, c.y, c.z};
    };
    const BatchVertex corner = vertex(0);
    BatchVertex previous = vertex(1);
    for (std::size_t k = 2; k < outline.count; ++k) {
        const BatchVertex next = vertex(k);
        scratch.push_back(corner);
        scratch.push_back(previous);
        scratch.push_back(next);
        previous = next;
    }
}

// Lines wider than a pixel as OpenGL rasterises them: each pixel of the thin line widened
// across its minor axis, so a parallelogram with two sides along that axis.
void WebGl2Renderer::addBand(const Frame& frame) {
    const float half = frame.toolLineWidth / 2.0f;
    const Vec3& c = frame.bandColour;
    for (const Segment& s : frame.band) {
        const bool alongX = std::abs(s.x2 - s.x1) >= std::abs(s.y2 - s.y1);
        const float dx = alongX ? 0.0f : half;
        const float dy = alongX ? half : 0.0f;
        const auto at = [&](float x, float y) {
            return BatchVertex{x, y, 0.0f, 0.0f, 0.0f, 1.0f, c.x, c.y, c.z};
        };
        const BatchVertex a = at(s.x1 - dx, s.y1 - dy);
        const BatchVertex b = at(s.x1 + dx, s.y1 + dy);
        const BatchVertex d = at(s.x2 - dx, s.y2 - dy);
        const BatchVertex e = at(s.x2 + dx, s.y2 + dy);
        scratch.insert(scratch.end(), {a, b, e, a, e, d});
    }
}

int WebGl2Renderer::draw(const Frame& frame) {
    if (frame.selecting) {
        return 1;
    }
    // At a scale below 1 the page's canvas holds that many fewer pixels, and the browser
    // stretches it over the window; the frame stays in the window's pixels.
    const int width = frame.projection.viewport[2];
    const int height = frame.projection.viewport[3];
    const auto [shownX, shownY, shownWidth, shownHeight] =
        scaledViewport(frame.projection.viewport, frame.renderScale);
    glViewport(shownX, shownY, shownWidth, shownHeight);
    if (frame.clear != Frame::KeepBuffers) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(frame.clear == Frame::ClearDepth ? GL_DEPTH_BUFFER_BIT
                                                 : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    if (texture == nullptr) {
        return 0;
    }
    glUseProgram(program);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glUniformMatrix4fv(at.clip, 1, GL_FALSE, frame.projection.matrix.data());
    glUniformMatrix4fv(at.place, 1, GL_FALSE, identity.data());
    setLighting(frame.lighting);
    drawBoard(frame);

    if (frame.triangles != nullptr) {
        drawStream(*frame.triangles, true);
    } else {
        scratch.clear();
        for (const Outline& outline : frame.shapes) {
            addOutline(frame, outline, true);
        }
        drawStream(scratch, true);
    }

    scratch.clear();
    const std::size_t order[6] = {0, 1, 2, 0, 2, 3};
    for (std::size_t k : order) {
        const StripCorner& corner = frame.strip[k];
        scratch.push_back({corner.position.x, corner.position.y, corner.position.z, 0.0f, 0.0f,
                           1.0f, corner.colour.x, corner.colour.y, corner.colour.z});
    }
    for (const Outline& outline : frame.tools) {
        addOutline(frame, outline, false);
    }
    // Through its own camera, in drawing order over the shapes, as OpenGL 1.1 draws it.
    glDisable(GL_DEPTH_TEST);
    glUniformMatrix4fv(at.clip, 1, GL_FALSE, frame.toolbarProjection.matrix.data());
    drawStream(scratch, false);

    if (frame.gesture && width > 0 && height > 0) {
        scratch.clear();
        addBand(frame);
        const Matrix pixels = windowPixels(width, height);
        glUniformMatrix4fv(at.clip, 1, GL_FALSE, pixels.data());
        drawStream(scratch, false);
    }
    glBindVertexArray(0);
    return 1;
}

} // namespace

std::unique_ptr<Renderer> makeRenderer() {
    return std::make_unique<WebGl2Renderer>();
}

} // namespace tessera
