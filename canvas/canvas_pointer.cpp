#include "canvas/canvas.h"
#include "scene/circle_shape.h"
#include "scene/parallelogram_shape.h"
#include "scene/random.h"
#include "scene/square_shape.h"
#include "scene/triangle_shape.h"
#include "stage/stage.h"

#include <algorithm>
#include <cmath>

namespace tessera {

namespace {

constexpr int leftButton = 0;
constexpr int rightButton = 2;
// A dragged stroke lays down at most one shape per this many seconds.
constexpr double trailSpacingSeconds = 0.06;

// Sizes come from the cell size less a few units; small cells would make shapes of size
// 0 or less, which never show and never grow. Every painted shape is at least 1 unit.
float paintedSize(int size) {
    return static_cast<float>(std::max(size, 1));
}

// A recording's buttons are 0 to 31; any other holds nobody.
std::uint32_t buttonBit(int button) {
    return button >= 0 && button < 32 ? std::uint32_t{1} << button : 0;
}

} // namespace

void Canvas::buttonPressed(int x, int y, int button) {
    const auto t = static_cast<float>(Stage::instance()->now());
    unattendedTime = 0.0;
    heldButtons |= buttonBit(button);
    pointerX = pressX = x;
    pointerY = pressY = y;
    float boardX = 0.0f;
    float boardY = 0.0f;
    const bool onBoard = boardPointAt(x, y, boardX, boardY);
    // The toolbar answers wherever it shows; otherwise a press in the margins around the
    // board is a press on the bare picture.
    pick(x, y);
    if (!onBoard) {
        clearSelection();
    }
    if (!toolHits.empty()) {
        selectTool(toolHits[0] / 2);
        return;
    }
    if (button == rightButton) {
        if (!selection.empty() || !onBoard) {
            return;
        }
        paintMode = Growing;
        painting = paintAt(boardX, boardY);
    } else if (button == leftButton) {
        connect(x, y, t);
    }
}

void Canvas::buttonReleased(int, int, int button) {
    heldButtons &= ~buttonBit(button);
    if (button != rightButton) {
        return;
    }
    if (paintMode == Growing || paintMode == Trailing) {
        painting = nullptr;
    }
    paintMode = NotPainting;
    gestureState = 0;
    clearSelection();
}

void Canvas::pointerMoved(int x, int y) {
    idleTime = 0.0;
    unattendedTime = 0.0;
    idleScatterDone = false;
    if (paintMode == Growing) {
        if (animationKind == NoAnimation && pointerX != pressX && pointerY != pressY) {
            strokeElapsed = 0.0;
            paintMode = Trailing;
        }
    } else if (paintMode == Trailing) {
        float boardX = 0.0f;
        float boardY = 0.0f;
        // Off the board the stroke lays nothing and picks up again where it comes back.
        if (strokeElapsed > trailSpacingSeconds && boardPointAt(x, y, boardX, boardY)) {
            paintMode = Growing;
            painting = paintAt(boardX, boardY);
            strokeElapsed = 0.0;
            pressX = x;
            pressY = y;
        }
    }
    pointerX = x;
    pointerY = y;
    float boardX = 0.0f;
    float boardY = 0.0f;
    if (unproject(x, y, boardX, boardY) == 1) {
        light1Position[0] = boardX;
        light1Position[1] = boardY;
    }
    renderer->moveLight(1, lighting().lights[1]);
}

void Canvas::selectTool(int tool) {
    for (auto& entry : tools) {
        entry->setSelected(0);
    }
    toolHits.clear();
    currentTool = tool;
    tools[static_cast<std::size_t>(2 * tool)]->setSelected(1);
    tools[static_cast<std::size_t>(2 * tool + 1)]->setSelected(1);
}

void Canvas::growPainting(float factor) {
    if (painting == nullptr || paintMode != Growing) {
        return;
    }
    painting->scaleBy(factor, factor, 1.0f);
    capGrowth(*painting);
}

void Canvas::capGrowth(Shape& shape) const {
    const float cap = maxGrownScale();
    if (shape.scale.x > cap) {
        shape.setScale(cap, shape.scale.y * (cap / shape.scale.x), shape.scale.z);
    }
}

// The shape stands a few units in front of the board; on the board point itself it would
// show a little off the pointer, towards the window's edge, by up to several pixels near
// the edges of a large window. Along the line of sight it shows right under the pointer.
Shape* Canvas::paintAt(float x, float y) {
    Shape* shape = spawnShape(currentTool, x, y);
    const float z = shape->position.z;
    if (cameraDistance > z) {
        const float toEye = (cameraDistance - z) / cameraDistance;
        shape->position.x = shape->homePosition.x = cameraX + (x - cameraX) * toEye;
        shape->position.y = shape->homePosition.y = cameraY + (y - cameraY) * toEye;
    }
    return shape;
}

Shape* Canvas::spawnShape(int kind, float fx, float fy) {
    const int width = cellWidth();
    const int height = cellHeight();
    // The colour of the board unit the point lies in.
    const Region colour =
        regionAt(static_cast<int>(std::floor(fx)), static_cast<int>(std::floor(fy)));
    // Half a unit above the whole-number depth: a shape at depth 0 would lie in the board's
    // own plane, where the board, drawn first, hides it.
    const float z = static_cast<float>(tessera::rand() % 5) + 0.5f;
    std::unique_ptr<Shape> shape;
    const char* name = "default";
    switch (kind) {
    case ParallelogramTool:
        shape = std::make_unique<ParallelogramShape>(fx, fy, z, paintedSize(height - 3));
        name = "parallelogram";
        break;
    case CircleTool:
        shape = std::make_unique<CircleShape>(fx, fy, z, paintedSize(height / 2 - 1));
        name = "circle";
        break;
    case SquareTool:
        shape = std::make_unique<SquareShape>(fx, fy, z, paintedSize(height - 5));
        name = "square";
        break;
    case TriangleTool:
        shape = std::make_unique<TriangleShape>(fx, fy, z, paintedSize(width - 3),
                                                paintedSize(height - 1));
        name = "triangle";
        break;
    default:
        shape = std::make_unique<SquareShape>(fx, fy, z, 4.0f);
        break;
    }
    shape->setName(name);
    // The oldest shapes make room, so that the new one keeps the canvas within its limit.
    while (maxShapes > 0 && shapes.size() >= maxShapes) {
        removeShape(0);
    }
    constexpr float byteToUnit = 1.0f / 255.0f;
    shape->setColour(colour.red * byteToUnit, colour.green * byteToUnit, colour.blue * byteToUnit);
    shapes.push_back(std::move(shape));
    return shapes.back().get();
}

Region Canvas::regionAt(int x, int y) const {
    if (maskPixels.empty()) {
        return pictureColourAt(x, y);
    }
    const int key = maskPixels[static_cast<std::size_t>(maskGrid().cellAt(x, y))];
    const auto entry = regionMap.table.find(key);
    // A region the map leaves out takes the picture's own colour rather than black.
    return entry != regionMap.table.end() ? entry->second : pictureColourAt(x, y);
}

Region Canvas::pictureColourAt(int x, int y) const {
    Region colour;
    if (picturePixels.empty()) {
        return colour;
    }
    const auto scaled = [](int v, int from, int to) {
        return std::clamp(static_cast<int>(static_cast<long long>(v) * to / from), 0, to - 1);
    };
    const int column = scaled(x, boardWidth, pictureWidth);
    const int row = scaled(y, boardHeight, pictureHeight);
    const unsigned char* p =
        &picturePixels[(static_cast<std::size_t>(row) * pictureWidth + column) * 4];
    colour.red = p[0];
    colour.green = p[1];
    colour.blue = p[2];
    return colour;
}

} // namespace tessera
