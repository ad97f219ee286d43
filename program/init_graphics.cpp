#include "program/init_graphics.h"

#include "stage/stage.h"

#include <GL/gl.h>

namespace tessera {

void initGraphics() {
    const Stage* stage = Stage::instance();
    glEnable(GL_NORMALIZE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_COLOR_MATERIAL);
    glShadeModel(GL_SMOOTH);
    glLineWidth(2.0f);
    // Texels replace the lit colour: the picture shows at full brightness whatever the lights.
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glLightfv(GL_LIGHT0, GL_AMBIENT, stage->light0Ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, stage->light0Diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, stage->light0Specular);
    glLightfv(GL_LIGHT0, GL_POSITION, stage->light0Position);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, stage->lightModelAmbient);
}

} // namespace tessera
