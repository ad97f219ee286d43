#pragma once

#include "scene/body.h"
#include "scene/material.h"

#include <memory>
#include <vector>

namespace tessera {

class Texture;

// Display-list name of the next Model made; names are never reused.
extern int nextListId;

// A Body whose look is one recorded display list, replayed under the model's own
// transform, colour and texture, optionally after a green wireframe pass. The board that
// shows the picture is one.
class Model : public Body {
public:
    Model();
    ~Model() override;
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    virtual int prepare();
    virtual int draw();
    virtual int advance(double dt);
    virtual int resetTransform();
    virtual int fitToUnit();
    virtual int beginList();
    virtual int endList();
    virtual void addScale(float dx, float dy, float dz);
    virtual float distanceTo(const Body& other) const;
    virtual void setName(const char* text);
    virtual void setScale(float x, float y, float z);
    virtual void setColour(float r, float g, float b);
    virtual void addMaterial(const Material& material);
    virtual void setOutlined(bool value);
    virtual void enableTexture();
    virtual void setTexture(Texture* value);
    virtual void setVertices(std::unique_ptr<Vec3[]> points, int count);
    virtual void setArray2(std::unique_ptr<float[]> values, int count);
    virtual void setIndices(std::unique_ptr<int[]> values, int count);
    virtual void setArray4(std::unique_ptr<float[]> values, int count);
    virtual void setArray5(std::unique_ptr<float[]> values, int count);
    virtual const char* name() const;
    virtual int listId() const;
    virtual bool isOutlined() const;
    virtual Vec3& scale();
    virtual Vec3& colour();
    // Extent of the indexed points, seeded by point 0; 0 when there are no points or
    // indices, leaving the outputs untouched.
    virtual int bounds(float& minX, float& maxX, float& minY, float& maxY, float& minZ,
                       float& maxZ) const;

    const std::vector<Material>& materials() const { return materialList; }
    Texture* texture() const { return boundTexture; }
    bool isTextured() const { return textured; }

private:
    int list;
    char nameText[64] = {};
    Vec3 scaleFactors{1.0f, 1.0f, 1.0f};
    Vec3 colourValue{1.0f, 1.0f, 1.0f};
    bool outlined = false;
    Texture* boundTexture = nullptr;
    bool textured = false;
    std::unique_ptr<Vec3[]> vertices;
    int vertexCount = 0;
    std::unique_ptr<float[]> array2;
    int array2Count = 0;
    std::unique_ptr<int[]> indices;
    int indexCount = 0;
    std::unique_ptr<float[]> array4;
    int array4Count = 0;
    std::unique_ptr<float[]> array5;
    int array5Count = 0;
    std::vector<Material> materialList;
};

} // namespace tessera
