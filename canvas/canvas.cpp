#include "canvas/canvas.h"

#include "picture/pnm_reader.h"
#include "scene/circle_shape.h"
#include "scene/parallelogram_shape.h"
#include "scene/square_shape.h"
#include "scene/triangle_shape.h"
#include "stage/stage.h"

#include <cstdio>
#include <string>
#include <utility>

namespace tessera {

float light1Ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
float light1Diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
float light1Specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
float light1Position[4] = {0.0f, 0.0f, 5.0f, 1.0f};

Canvas::Canvas() : board(std::make_unique<Model>()) {
    strokes[0] = Stroke();
    shapes.reserve(100);
    selection.reserve(100);
}

Canvas::~Canvas() = default;

int Canvas::load(const char* name) {
    Stage::instance();
    shapes.clear();
    selection.clear();
    dropStrokes();
    gestureState = 0;

    const std::string base(name);
    const std::string pictureFile = base + ".ppm";
    const std::string maskFile = base + "_mask.pgm";
    const std::string mapFile = base + ".map";

    int bitsPerPixel = 0;
    picturePixels = readPpm(pictureFile.c_str(), pictureWidth, pictureHeight, bitsPerPixel);
    std::printf("%s: (%d, %d) x %d\n", pictureFile.c_str(), pictureWidth, pictureHeight,
                bitsPerPixel);

    maskPixels = readPgm(maskFile.c_str(), maskWidth, maskHeight);
    std::printf("%s: (%d, %d) x 8\n", maskFile.c_str(), maskWidth, maskHeight);

    readRegionMap(mapFile.c_str(), regionMap);
    std::printf("%s: OK\n", mapFile.c_str());

    // The map says the board's shape, so the picture goes on the board after it.
    showPicture(name);
    finishLoad();
    return 1;
}

int Canvas::loadPictureSet(const char* name, Image picture, Image mask, RegionMap map) {
    Stage::instance();
    shapes.clear();
    selection.clear();
    dropStrokes();
    gestureState = 0;
    picturePixels = std::move(picture.pixels);
    pictureWidth = picture.width;
    pictureHeight = picture.height;
    maskPixels = std::move(mask.pixels);
    maskWidth = mask.width;
    maskHeight = mask.height;
    regionMap = std::move(map);
    showPicture(name);
    finishLoad();
    return 1;
}

// The picture becomes the board's texture, uploaded at its own size, on a quad of the
// board's size: 640 x 480, or what the region map says.
void Canvas::showPicture(const char* name) {
    boardWidth = regionMap.boardWidth;
    boardHeight = regionMap.boardHeight;
    board->setScale(1.0f, 1.0f, 1.0f);
    board->setPosition(0.0f, 0.0f, 0.0f);
    board->setColour(1.0f, 1.0f, 1.0f);
    const float w = static_cast<float>(boardWidth);
    const float h = static_cast<float>(boardHeight);
    BoardPicture picture;
    picture.name = name;
    picture.pixels = picturePixels.data();
    picture.width = pictureWidth;
    picture.height = pictureHeight;
    picture.corners = {{
        {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},
        {{0.0f, 1.0f, 0.0f}, {0.0f, h, 0.0f}},
        {{1.0f, 1.0f, 0.0f}, {w, h, 0.0f}},
        {{1.0f, 0.0f, 0.0f}, {w, 0.0f, 0.0f}},
    }};
    renderer->prepareBoard(picture, *board);
    boardPrepared = true;
}

// Toolbar, camera and light 1, once the picture set is in place.
void Canvas::finishLoad() {
    buildToolbar();
    cameraX = static_cast<float>(boardWidth) * 0.5f;
    cameraY = static_cast<float>(boardHeight) * 0.5f;
    // Light 0 stands over the board's centre, whatever its shape.
    float* light0 = Stage::instance()->light0Position;
    if (light0[0] != cameraX || light0[1] != cameraY) {
        light0[0] = cameraX;
        light0[1] = cameraY;
        renderer->moveLight(0, lighting().lights[0]);
    }
    renderer->switchOnLight(1, lighting().lights[1]);
}

void Canvas::buildToolbar() {
    // NOTE: the order of construction fixes which random numbers each entry draws, and so
    // how every toolbar shape wobbles.
    tools.clear();
    tools.push_back(std::make_unique<SquareShape>(20.0f, 10.0f, 4.0f, 40.0f));
    tools.push_back(std::make_unique<ParallelogramShape>(20.0f, 10.0f, 5.0f, 34.0f));
    tools.push_back(std::make_unique<SquareShape>(80.0f, 10.0f, 4.0f, 40.0f));
    tools.push_back(std::make_unique<CircleShape>(80.0f, 10.0f, 5.0f, 17.0f));
    tools.push_back(std::make_unique<SquareShape>(140.0f, 10.0f, 4.0f, 40.0f));
    tools.push_back(std::make_unique<SquareShape>(140.0f, 10.0f, 5.0f, 28.0f));
    tools.push_back(std::make_unique<SquareShape>(200.0f, 10.0f, 4.0f, 40.0f));
    tools.push_back(std::make_unique<TriangleShape>(200.0f, 10.0f, 5.0f, 34.0f, 34.0f));
    for (std::size_t i = 0; i < tools.size(); ++i) {
        if (i % 2 == 0) {
            tools[i]->setColour(0.0f, 0.0f, 0.7f); // button face, blue
        } else {
            tools[i]->setColour(0.9f, 0.9f, 0.0f); // icon, yellow
        }
    }
}

MaskGrid Canvas::maskGrid() const {
    return {boardWidth, boardHeight, maskWidth, maskHeight};
}

int Canvas::cellWidth() const {
    return maskGrid().cellWidth();
}

int Canvas::cellHeight() const {
    return maskGrid().cellHeight();
}

float Canvas::maxGrownScale() const {
    return maxGrownCells * static_cast<float>(cellHeight());
}

} // namespace tessera
