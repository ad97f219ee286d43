#include "scene/shape.h"

#include "stage/stage.h"

#include <GL/gl.h>

namespace tessera {

int nextShapeId = 1;

Shape::Shape(float x, float y, float z)
    : Actor(x, y, z), id(nextShapeId++), created(Stage::instance()->now()) {}

Shape::~Shape() = default;

void Shape::update(float dt) {
    Actor::update(dt);
    for (auto& polygon : polygons) {
        polygon->update(dt);
    }
}

int Shape::draw() const {
    for (const auto& polygon : polygons) {
        polygon->draw();
    }
    return 1;
}

void Shape::outgrow(Actor* other) {
    constexpr float grow = 1.2f;
    constexpr float shrink = 0.8333333f;
    scaleBy(grow, grow, 1.0f);
    other->setScale(shrink * other->scale.x, shrink * other->scale.y, 1.0f);
}

void Shape::followOutline(const Shape* other, float factor, float rate) {
    const Polygon& outline = *other->polygons[0];
    const float legDuration = static_cast<float>(outline.count) / rate;
    const Edge* edge = outline.first;
    for (int i = 0; i < outline.count && edge != nullptr; ++i, edge = edge->next) {
        const Vec3 v = edge->start->position * factor;
        queueMoveTo(legDuration, position.x + v.x, position.y + v.y, position.z, Eased);
    }
}

float Shape::size() const {
    const float s = scale.x > scale.y ? scale.x : scale.y;
    return s * polygons[0]->area();
}

void Shape::applyMaterial(unsigned int index) const {
    if (index < materials.size()) {
        materials[index].apply();
    }
}

void Shape::setName(const char* text) {
    label = text;
    named = true;
}

void Shape::setSelected(int flag) {
    selected = flag;
}

const char* Shape::name() const {
    return named ? label.c_str() : "undefined";
}

int Shape::isSelected() const {
    return selected;
}

int Shape::drawInPlace() const {
    glPushMatrix();
    glDisable(GL_TEXTURE_2D);
    glTranslatef(position.x, position.y, position.z);
    const float s = scale.x;
    glScalef(s, s, s);
    glRotatef(rotation.x, 1.0f, 0.0f, 0.0f);
    glRotatef(rotation.y, 0.0f, 1.0f, 0.0f);
    glRotatef(rotation.z, 0.0f, 0.0f, 1.0f);
    const float bright = selected != 0 ? 1.4f : 1.0f;
    glColor3f(colour.x * bright, colour.y * bright, colour.z * bright);
    polygons[0]->draw();
    glPopMatrix();
    return 1;
}

} // namespace tessera
