#include "scene/model.h"

#include "scene/texture.h"

#include <GL/gl.h>
#include <cmath>
#include <cstring>

namespace tessera {

int nextListId = 1;

Model::Model() : list(nextListId++) {
    Model::setName("Undefined");
    Model::resetTransform();
    Model::setColour(1.0f, 1.0f, 1.0f);
    Material standard;
    standard.diffuse[0] = standard.diffuse[1] = standard.diffuse[2] = 0.75f;
    standard.specular[0] = standard.specular[1] = standard.specular[2] = 1.0f;
    materialList.push_back(standard);
}

Model::~Model() = default;

int Model::prepare() {
    return 1;
}

int Model::draw() {
    if (!glIsList(static_cast<GLuint>(list))) {
        return 0;
    }
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glScalef(scaleFactors.x, scaleFactors.y, scaleFactors.z);
    glRotatef(rotation.x, 1.0f, 0.0f, 0.0f);
    glRotatef(rotation.y, 0.0f, 1.0f, 0.0f);
    glRotatef(rotation.z, 0.0f, 0.0f, 1.0f);
    if (outlined) {
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glPolygonOffset(-1.0f, -1.0f);
        glColor3f(0.0f, 1.0f, 0.0f);
        glCallList(static_cast<GLuint>(list));
        glDisable(GL_POLYGON_OFFSET_FILL);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    if (textured) {
        glEnable(GL_TEXTURE_2D);
    }
    if (boundTexture != nullptr) {
        boundTexture->bind();
    }
    glColor3f(colourValue.x, colourValue.y, colourValue.z);
    glCallList(static_cast<GLuint>(list));
    glPopMatrix();
    return 1;
}

int Model::advance(double dt) {
    Body::update(static_cast<float>(dt));
    return 1;
}

int Model::resetTransform() {
    setScale(1.0f, 1.0f, 1.0f);
    setRotation(0.0f, 0.0f, 0.0f);
    return 1;
}

int Model::fitToUnit() {
    float minX, maxX, minY, maxY, minZ, maxZ;
    if (bounds(minX, maxX, minY, maxY, minZ, maxZ) <= 0) {
        return 0;
    }
    setPosition(-0.5f * (minX + maxX), -0.5f * (minY + maxY), -0.5f * (minZ + maxZ));
    const float dx = maxX - minX;
    const float dy = maxY - minY;
    const float dz = maxZ - minZ;
    float largest = dx > dy ? dx : dy;
    if (dz > largest) {
        largest = dz;
    }
    setScale(1.0f / largest, 1.0f / largest, 1.0f / largest);
    return 1;
}

int Model::beginList() {
    glNewList(static_cast<GLuint>(list), GL_COMPILE);
    glPushMatrix();
    return 1;
}

int Model::endList() {
    glPopMatrix();
    glEndList();
    return 1;
}

void Model::addScale(float dx, float dy, float dz) {
    scaleFactors.add(dx, dy, dz);
}

float Model::distanceTo(const Body& other) const {
    const Vec3 d = position - other.position;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

void Model::setName(const char* text) {
    std::strncpy(nameText, text, sizeof nameText);
    nameText[sizeof nameText - 1] = '\0';
}

void Model::setScale(float x, float y, float z) {
    scaleFactors.set(x, y, z);
}

void Model::setColour(float r, float g, float b) {
    colourValue.set(r, g, b);
}

void Model::addMaterial(const Material& material) {
    materialList.push_back(material);
}

void Model::setOutlined(bool value) {
    outlined = value;
}

void Model::enableTexture() {
    textured = true;
}

void Model::setTexture(Texture* value) {
    boundTexture = value;
    textured = true;
}

void Model::setVertices(std::unique_ptr<Vec3[]> points, int count) {
    vertices = std::move(points);
    vertexCount = count;
}

void Model::setArray2(std::unique_ptr<float[]> values, int count) {
    array2 = std::move(values);
    array2Count = count;
}

void Model::setIndices(std::unique_ptr<int[]> values, int count) {
    indices = std::move(values);
    indexCount = count;
}

void Model::setArray4(std::unique_ptr<float[]> values, int count) {
    array4 = std::move(values);
    array4Count = count;
}

void Model::setArray5(std::unique_ptr<float[]> values, int count) {
    array5 = std::move(values);
    array5Count = count;
}

const char* Model::name() const {
    return nameText;
}

int Model::listId() const {
    return list;
}

bool Model::isOutlined() const {
    return outlined;
}

Vec3& Model::scale() {
    return scaleFactors;
}

Vec3& Model::colour() {
    return colourValue;
}

int Model::bounds(float& minX, float& maxX, float& minY, float& maxY, float& minZ,
                  float& maxZ) const {
    if (vertexCount == 0 || indexCount == 0) {
        return 0;
    }
    minX = maxX = vertices[0].x;
    minY = maxY = vertices[0].y;
    minZ = maxZ = vertices[0].z;
    for (int i = 0; i < indexCount; ++i) {
        const Vec3& p = vertices[indices[i]];
        if (p.x < minX) {
            minX = p.x;
        } else if (p.x > maxX) {
            maxX = p.x;
        }
        if (p.y < minY) {
            minY = p.y;
        } else if (p.y > maxY) {
            maxY = p.y;
        }
        if (p.z < minZ) {
            minZ = p.z;
        } else if (p.z > maxZ) {
            maxZ = p.z;
        }
    }
    return 1;
}

} // namespace tessera
