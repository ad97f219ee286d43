#include "canvas_fixture.h"

#include "picture/pnm_reader.h"
#include "picture/region_map.h"
#include "program/init_graphics.h"
#include "scene/random.h"
#include "stage/stage.h"

#include <algorithm>
#include <stdexcept>

namespace tessera::test {

namespace {

const char* const quadrantMap = "regions 4\nbackground 0\n"
                                "0 0 255 0 0\n"
                                "1 1 0 255 0\n"
                                "2 2 0 0 255\n"
                                "3 3 255 255 255\n";

Rgb8 quadrant(int column, int row) {
    const bool right = column >= 2;
    const bool top = row < 2;
    if (top) {
        return right ? Rgb8{0, 255, 0} : Rgb8{255, 0, 0};
    }
    return right ? Rgb8{255, 255, 255} : Rgb8{0, 0, 255};
}

} // namespace

void CanvasTest::SetUp() {
    ASSERT_TRUE(gl.valid());
    Stage* stage = Stage::instance();
    stage->setClock(&clock);
    std::copy(stage->light0Position, stage->light0Position + 4, savedLight0);
    seedRandom();
    initGraphics();
}

void CanvasTest::TearDown() {
    Stage* stage = Stage::instance();
    std::copy(savedLight0, savedLight0 + 4, stage->light0Position);
    stage->setClock(nullptr);
}

std::string CanvasTest::load() {
    return loadWithMask(64, 48);
}

std::string CanvasTest::loadWithMask(int maskWidth, int maskHeight, int boardWidth,
                                     int boardHeight) {
    const int height = maskHeight;
    std::string mapText = quadrantMap;
    if (boardWidth != 640 || boardHeight != 480) {
        mapText += "board " + std::to_string(boardWidth) + " " + std::to_string(boardHeight) + "\n";
    }
    const std::string base = writePictureSet(
        dir, "quadrants", 4, 4, quadrant, maskWidth, maskHeight,
        [height](int c, int r) { return static_cast<unsigned char>((c + height - 1 - r) % 4); },
        mapText);
    // Canvas::load ends the process on a file it cannot read, which would stop every test
    // after this one: the files are read through the readers' cores first, and a fault
    // fails this test alone, with the reader's message.
    Image image;
    RegionMap map;
    for (const std::string& error :
         {loadPpm((base + ".ppm").c_str(), image), loadPgm((base + "_mask.pgm").c_str(), image),
          loadRegionMap((base + ".map").c_str(), map)}) {
        if (!error.empty()) {
            throw std::runtime_error("the test's picture set does not load: " + error);
        }
    }
    ::testing::internal::CaptureStdout();
    canvas.load(base.c_str());
    std::string printed = ::testing::internal::GetCapturedStdout();
    canvas.setProjection(0, 0, gl.width(), gl.height());
    return printed;
}

void CanvasTest::renderFrame() {
    canvas.showFrame(gl.width(), gl.height());
    glFlush();
}

Shape* CanvasTest::placeAt(int kind, int x, int y, float scale) {
    float boardX = 0.0f;
    float boardY = 0.0f;
    EXPECT_EQ(canvas.unproject(x, y, boardX, boardY), 1);
    Shape* shape =
        canvas.spawnShape(kind, static_cast<int>(boardX + 0.5f), static_cast<int>(boardY + 0.5f));
    shape->position.z = 0.0f;
    shape->homePosition.z = 0.0f;
    shape->setScale(scale, scale, 1.0f);
    return shape;
}

std::string CanvasTest::leftClick(int x, int y) {
    ::testing::internal::CaptureStdout();
    canvas.buttonPressed(x, y, 0);
    canvas.buttonReleased(x, y, 0);
    return ::testing::internal::GetCapturedStdout();
}

void CanvasTest::pressKeys(const char* keys) {
    ::testing::internal::CaptureStdout();
    for (const char* key = keys; *key != '\0'; ++key) {
        canvas.keyPressed(*key);
    }
    ::testing::internal::GetCapturedStdout();
}

} // namespace tessera::test
