#pragma once

namespace tessera {

// OpenGL lighting colours of a surface; one alpha serves all four.
struct Material {
    float ambient[3] = {0.0f, 0.0f, 0.0f};
    float diffuse[3] = {0.0f, 0.0f, 0.0f};
    float specular[3] = {0.0f, 0.0f, 0.0f};
    float emission[3] = {0.0f, 0.0f, 0.0f};
    float alpha = 1.0f;

    // glMaterialfv on both faces: ambient, diffuse, specular, emission, in that order.
    void apply() const;
};

} // namespace tessera
