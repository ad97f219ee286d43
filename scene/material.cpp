#include "scene/material.h"

#include <GL/gl.h>

namespace tessera {

namespace {

void applyComponent(GLenum name, const float rgb[3], float alpha) {
    const GLfloat colour[4] = {rgb[0], rgb[1], rgb[2], alpha};
    glMaterialfv(GL_FRONT_AND_BACK, name, colour);
}

} // namespace

void Material::apply() const {
    applyComponent(GL_AMBIENT, ambient, alpha);
    applyComponent(GL_DIFFUSE, diffuse, alpha);
    applyComponent(GL_SPECULAR, specular, alpha);
    applyComponent(GL_EMISSION, emission, alpha);
}

} // namespace tessera
