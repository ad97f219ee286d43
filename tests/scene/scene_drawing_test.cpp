#include "scene/circle_shape.h"
#include "scene/material.h"
#include "scene/shape.h"
#include "scene/square_shape.h"
#include "scene/triangle_shape.h"
#include "support/feedback.h"
#include "support/flat_view_test.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace tessera {
namespace {

using SceneDrawing = test::FlatViewTest;

TEST_F(SceneDrawing, MaterialSetsAllFourColoursWithOneAlpha) {
    Material material;
    material.ambient[0] = 0.1f;
    material.diffuse[1] = 0.2f;
    material.specular[2] = 0.3f;
    material.emission[0] = 0.4f;
    material.alpha = 0.5f;
    material.apply();
    const GLenum names[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};
    const float expected[4][3] = {{0.1f, 0, 0}, {0, 0.2f, 0}, {0, 0, 0.3f}, {0.4f, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        for (GLenum face : {GL_FRONT, GL_BACK}) {
            GLfloat got[4];
            glGetMaterialfv(face, names[i], got);
            EXPECT_FLOAT_EQ(got[0], expected[i][0]);
            EXPECT_FLOAT_EQ(got[1], expected[i][1]);
            EXPECT_FLOAT_EQ(got[2], expected[i][2]);
            EXPECT_FLOAT_EQ(got[3], 0.5f);
        }
    }
}

TEST_F(SceneDrawing, ShapeAppliesOnlyMaterialsItHas) {
    Shape shape(0, 0, 0);
    const GLfloat marker[4] = {0.25f, 0.25f, 0.25f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, marker);
    shape.applyMaterial(0);
    Material red;
    red.ambient[0] = 1.0f;
    shape.materials.push_back(red);
    shape.applyMaterial(1);
    GLfloat got[4];
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, got);
    EXPECT_FLOAT_EQ(got[0], 0.25f);
    shape.applyMaterial(0);
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, got);
    EXPECT_FLOAT_EQ(got[0], 1.0f);
}

TEST_F(SceneDrawing, PolygonsDrawOnlyWithThreeOrMoreVertices) {
    auto two = Polygon::ring({{0, 0}, {10, 0}});
    auto feedback = test::captureFeedback([&] { two->draw(); });
    EXPECT_EQ(feedback.tokens, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    auto octagon =
        Polygon::ring({{10, 0}, {20, 0}, {30, 10}, {30, 20}, {20, 30}, {10, 30}, {0, 20}, {0, 10}});
    feedback = test::captureFeedback([&] { octagon->draw(); });
    ASSERT_FALSE(feedback.polygons.empty());
    GLfloat normal[3];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_EQ(normal[2], 1.0f);
}

TEST_F(SceneDrawing, KindsDrawAtTheirPlaceScaledByXInTheirColour) {
    SquareShape square(100.0f, 200.0f, 4.0f, 40.0f);
    square.setScale(20.0f, 5.0f, 1.0f);
    square.setColour(0.5f, 0.5f, 0.5f);
    auto feedback = test::captureFeedback([&] { square.draw(); });
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const auto& polygon : feedback.polygons) {
        for (const auto& v : polygon) {
            minX = std::min(minX, v.x);
            maxX = std::max(maxX, v.x);
            minY = std::min(minY, v.y);
            maxY = std::max(maxY, v.y);
            EXPECT_NEAR(v.r, 0.5f, 1e-3);
        }
    }
    EXPECT_NEAR(minX, 80.0f, 1e-3);
    EXPECT_NEAR(maxX, 120.0f, 1e-3);
    EXPECT_NEAR(minY, 180.0f, 1e-3); // scale.y plays no part in drawing
    EXPECT_NEAR(maxY, 220.0f, 1e-3);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(SceneDrawing, RotationTurnsTheOutlineAboutTheShapesPlace) {
    // A quarter turn about z takes the apex (0, 0.9) to (-0.9, 0) and each base corner
    // (x, -0.85) to (0.85, x); a half turn about x then flips y, one about y flips x.
    const struct {
        const char* name;
        float rx, ry;
        float corners[3][2];
    } rows[] = {
        {"about z", 0, 0, {{91, 100}, {108.5f, 90}, {108.5f, 110}}},
        {"about z, then x", 180, 0, {{91, 100}, {108.5f, 110}, {108.5f, 90}}},
        {"about z, then y", 0, 180, {{109, 100}, {91.5f, 90}, {91.5f, 110}}},
    };
    for (const auto& row : rows) {
        TriangleShape triangle(100.0f, 100.0f, 0.0f, 20.0f, 20.0f);
        triangle.setRotation(row.rx, row.ry, 90.0f);
        const auto feedback = test::captureFeedback([&] { triangle.draw(); });
        SCOPED_TRACE(row.name);
        ASSERT_EQ(feedback.polygons.size(), 1u);
        const auto& corners = feedback.polygons[0];
        ASSERT_EQ(corners.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(corners[i].x, row.corners[i][0], 1e-3) << "corner " << i;
            EXPECT_NEAR(corners[i].y, row.corners[i][1], 1e-3) << "corner " << i;
        }
    }
}

TEST_F(SceneDrawing, SelectedShapesAreBrighterUnclamped) {
    TriangleShape triangle(50.0f, 50.0f, 0.0f, 20.0f, 20.0f);
    triangle.setColour(0.9f, 0.9f, 0.0f);
    triangle.setSelected(1);
    triangle.draw();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_NEAR(colour[0], 1.26f, 1e-5);
    EXPECT_NEAR(colour[2], 0.0f, 1e-5);
}

TEST_F(SceneDrawing, CircleOfSizeTenFillsItsDisc) {
    CircleShape circle(320.0f, 240.0f, 0.0f, 10.0f);
    circle.setColour(1.0f, 0.0f, 0.0f);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    circle.draw();
    EXPECT_EQ(gl.pixel(320, 240).r, 255);
    EXPECT_EQ(gl.pixel(328, 240).r, 255);
    EXPECT_EQ(gl.pixel(332, 240).r, 0);
}

} // namespace
} // namespace tessera
