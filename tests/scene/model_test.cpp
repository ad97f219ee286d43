#include "scene/model.h"
#include "scene/texture.h"
#include "support/feedback.h"
#include "support/flat_view_test.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <string>

namespace tessera {
namespace {

class ModelDrawing : public test::FlatViewTest {
protected:
    static void recordSquare(Model& model, float size) {
        model.beginList();
        glBegin(GL_QUADS);
        glVertex3f(0, 0, 0);
        glVertex3f(size, 0, 0);
        glVertex3f(size, size, 0);
        glVertex3f(0, size, 0);
        glEnd();
        model.endList();
    }
};

TEST(ModelIdentity, ListNamesCountUpAndNamesAreBounded) {
    Model first;
    Model second;
    EXPECT_EQ(second.listId(), first.listId() + 1);
    EXPECT_STREQ(first.name(), "Undefined");
    first.setName(std::string(70, 'n').c_str());
    EXPECT_EQ(std::string(first.name()), std::string(63, 'n'));
    EXPECT_EQ(first.scale().x, 1.0f);
    EXPECT_EQ(first.colour().z, 1.0f);
    ASSERT_EQ(first.materials().size(), 1u);
    EXPECT_EQ(first.materials()[0].diffuse[0], 0.75f);
}

TEST(ModelBounds, IndexedPointsSeededByTheFirstPoint) {
    Model model;
    float minX = -1, maxX = -1, minY = -1, maxY = -1, minZ = -1, maxZ = -1;
    EXPECT_EQ(model.bounds(minX, maxX, minY, maxY, minZ, maxZ), 0);
    EXPECT_EQ(minX, -1.0f);
    EXPECT_EQ(model.fitToUnit(), 0);

    auto points = std::make_unique<Vec3[]>(3);
    points[0] = {5, 5, 5};
    points[1] = {1, 2, 3};
    auto indices = std::make_unique<int[]>(1);
    indices[0] = 1;
    model.setVertices(std::move(points), 3);
    model.setIndices(std::move(indices), 1);
    EXPECT_EQ(model.bounds(minX, maxX, minY, maxY, minZ, maxZ), 1);
    EXPECT_EQ(minX, 1.0f);
    EXPECT_EQ(maxX, 5.0f);
    EXPECT_EQ(minY, 2.0f);
    EXPECT_EQ(minZ, 3.0f);
    EXPECT_EQ(maxZ, 5.0f);
}

TEST(ModelBounds, FitToUnitCentresAndScalesByTheLargestExtent) {
    Model model;
    auto points = std::make_unique<Vec3[]>(2);
    points[1] = {640, 480, 0};
    auto indices = std::make_unique<int[]>(2);
    indices[0] = 0;
    indices[1] = 1;
    model.setVertices(std::move(points), 2);
    model.setIndices(std::move(indices), 2);
    EXPECT_EQ(model.fitToUnit(), 1);
    EXPECT_EQ(model.position.x, -320.0f);
    EXPECT_EQ(model.position.y, -240.0f);
    EXPECT_FLOAT_EQ(model.scale().x, 0.0015625f);
}

TEST(ModelMotion, AdvanceIsTheBodyUpdate) {
    Model model;
    Body body;
    model.moveTo(1.0f, 10.0f, 0.0f, 0.0f);
    body.moveTo(1.0f, 10.0f, 0.0f, 0.0f);
    EXPECT_EQ(model.advance(0.5), 1);
    body.update(0.5f);
    EXPECT_EQ(model.position.x, body.position.x);
}

TEST_F(ModelDrawing, WithoutARecordedListNothingIsDrawn) {
    Model model;
    Texture texture("unused");
    model.setTexture(&texture);
    const auto feedback = test::captureFeedback([&] { EXPECT_EQ(model.draw(), 0); });
    EXPECT_EQ(feedback.tokens, 0);
}

TEST_F(ModelDrawing, ReplaysItsListUnderItsTransformAndColour) {
    Model model;
    recordSquare(model, 10.0f);
    model.setPosition(100.0f, 50.0f, 0.0f);
    model.setScale(2.0f, 3.0f, 1.0f);
    model.setColour(0.0f, 1.0f, 0.0f);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(model.draw(), 1);
    EXPECT_EQ(gl.pixel(118, 78).g, 255);
    EXPECT_EQ(gl.pixel(122, 78).g, 0);
    EXPECT_EQ(gl.pixel(118, 82).g, 0);
}

TEST_F(ModelDrawing, OutlinedModelDrawsGreenLinesThenFills) {
    Model model;
    recordSquare(model, 50.0f);
    model.setOutlined(true);
    EXPECT_TRUE(model.isOutlined());
    const auto feedback = test::captureFeedback([&] { model.draw(); });
    // The wireframe pass reports line tokens, the fill pass polygons.
    EXPECT_GT(feedback.tokens, static_cast<int>(feedback.polygons.size()));
    EXPECT_FALSE(feedback.polygons.empty());
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint mode[2];
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
}

TEST_F(ModelDrawing, NewTextureIsBoundWithRepeatAndNearest) {
    Texture texture("fruit");
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned int>(bound), texture.glId());
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    EXPECT_STREQ(texture.name(), "fruit");
    EXPECT_EQ(texture.setSize(512, 480), 1);
    EXPECT_EQ(texture.width(), 512);
}

TEST_F(ModelDrawing, TextureIdsAreHandedOutOnDemandAndPassExplicitOnes) {
    const int start = nextTextureId;
    Texture a("a");
    Texture b("b");
    EXPECT_EQ(a.id(), start);
    EXPECT_EQ(b.id(), start + 1);
    EXPECT_EQ(a.id(), start);
    Texture c("c");
    c.setId(start + 10);
    Texture d("d");
    EXPECT_EQ(d.id(), start + 11);
    c.setId(start + 3);
    EXPECT_EQ(nextTextureId, start + 12);
    Texture e(std::string(70, 't').c_str());
    EXPECT_EQ(std::string(e.name()).size(), 63u);
}

} // namespace
} // namespace tessera
