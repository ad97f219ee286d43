#include "canvas/board_footprint.h"
#include "canvas/canvas.h"
#include "stage/stage.h"

#include <GL/glu.h>

namespace tessera {

void Canvas::setProjection(int x, int y, int width, int height) {
    viewport = {x, y, width, height};
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(x, y, width, height);
    // A window of height 0 (minimised) would make the aspect infinite.
    const double aspect = height > 0 ? static_cast<double>(width) / height : 1.0;
    gluPerspective(cameraFor(aspect).fieldOfView, aspect, zNear, zFar);
    glTranslatef(-cameraX, -cameraY, -cameraDistance);
}

void Canvas::showFrame(int width, int height) {
    // Where the board fills the window, it paints over every pixel: only depth needs
    // clearing. (Clearing the margins alone, with a scissor, costs Mesa more than clearing
    // everything.)
    const bool boardFillsWindow =
        !referenceDrawing && board != nullptr && glIsList(static_cast<GLuint>(board->listId())) &&
        boardFootprint(*this, {0, 0, width, height}).covers(width, height);
    glClear(boardFillsWindow ? GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setProjection(0, windowBottom, width, height);
    drawFrame(GL_RENDER);
}

// NOTE: the order of these calls is part of the design: each step relies on the GL state
// the one before leaves, and picking runs the same body in selection mode so that what is
// hit is exactly what is seen.
int Canvas::drawFrame(GLenum mode) const {
    const Stage* stage = Stage::instance();
    const bool rendering = mode == GL_RENDER;
    if (rendering) {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        if (stage->light0Enabled != 0) {
            glEnable(GL_LIGHT0);
        }
        if (stage->colourMaterialEnabled != 0) {
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
    if (rendering && !referenceDrawing) {
        batch.fill(shapes);
        batch.draw();
    } else {
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            if (!rendering) {
                glLoadName(static_cast<GLuint>(i));
            }
            shapes[i]->draw();
        }
    }

    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glLineWidth(8.0f);
    if (rendering) {
        drawToolbarStrip();
    }

    glLineWidth(3.0f);
    for (std::size_t i = 0; i < tools.size(); ++i) {
        if (!rendering) {
            glLoadName(static_cast<GLuint>(shapes.size() + i));
        }
        tools[i]->draw();
    }
    glEnable(GL_LIGHTING);

    if (rendering && gestureState != 0) {
        drawGestureOverlay();
    }
    return 1;
}

// The grey backing of the toolbar: light at the top, dark at the bottom, unlit.
void Canvas::drawToolbarStrip() const {
    glBegin(GL_QUADS);
    glColor3f(0.9f, 0.9f, 0.9f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex3f(-10.0f, 20.0f, 3.0f);
    glColor3f(0.9f, 0.9f, 0.9f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex3f(230.0f, 20.0f, 3.0f);
    glColor3f(0.3f, 0.3f, 0.3f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex3f(230.0f, 0.0f, 3.0f);
    glColor3f(0.3f, 0.3f, 0.3f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex3f(-10.0f, 0.0f, 3.0f);
    glEnd();
}

// Rubber-band lines of a connection gesture, in window pixels over everything else. The
// matrix mode is left at GL_PROJECTION; the next frame sets what it needs.
void Canvas::drawGestureOverlay() const {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, viewport[2], viewport[3], 0.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 1.0f);
    const float px = static_cast<float>(pointerX);
    const float py = static_cast<float>(pointerY);
    if (gestureState >= 1 && gestureState <= 3) {
        glBegin(GL_LINES);
        glVertex2f(gestureX1, gestureY1);
        glVertex2f(px, py);
        glEnd();
    } else if (gestureState == 4) {
        glBegin(GL_LINES);
        glVertex2f(gestureX1, gestureY1);
        glVertex2f(gestureX2, gestureY2);
        glVertex2f(gestureX2, gestureY2);
        glVertex2f(px, py);
        glVertex2f(px, py);
        glVertex2f(gestureX1, gestureY1);
        glEnd();
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

} // namespace tessera
