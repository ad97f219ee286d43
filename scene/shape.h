#pragma once

#include "scene/actor.h"
#include "scene/material.h"
#include "scene/polygon.h"

#include <memory>
#include <string>
#include <vector>

namespace tessera {

// Sequence number of the next Shape built; ids start at 1 and are never reused.
extern int nextShapeId;

// A drawable, selectable, named Actor made of polygon outlines whose vertices are Actors
// too, advanced together with the shape.
class Shape : public Actor {
public:
    Shape(float x, float y, float z);
    ~Shape() override;

    void update(float dt) override;

    virtual int draw() const;
    // Grows this shape by a fifth and shrinks other by the same factor.
    virtual void outgrow(Actor* other);
    // Queues one eased move per vertex of other's first outline, scaled by factor and
    // drawn about this shape's position; each move takes (vertex count / rate) seconds.
    virtual void followOutline(const Shape* other, float factor, float rate);
    virtual float size() const;
    virtual void applyMaterial(unsigned int index) const;
    virtual void setName(const char* text);
    virtual void setSelected(int flag);
    virtual const char* name() const;
    virtual int isSelected() const;

    std::vector<std::unique_ptr<Polygon>> polygons;
    std::vector<Material> materials;
    const int id;
    int selected = 0;
    const double created;

protected:
    // What every shape kind draws: its first outline at its position, scaled uniformly by
    // scale.x, rotated, in its colour (brighter when selected). Returns 1.
    int drawInPlace() const;

private:
    std::string label;
    bool named = false;
};

} // namespace tessera
