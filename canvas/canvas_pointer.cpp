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

void Canvas::buttonPressed(int x, int y, int button, int pointer) {
    const auto t = static_cast<float>(Stage::instance()->now());
    unattendedTime = 0.0;
    Stroke& s = stroke(pointer);
    s.heldButtons |= buttonBit(button);
    s.pointerX = s.pressX = x;
    s.pointerY = s.pressY = y;
    float boardX = 0.0f;
    float boardY = 0.0f;
    const bool onBoard = boardPointAt(x, y, boardX, boardY);
    // Another pointer's selection is its gesture: this press leaves it be.
    const bool gestureFree = selection.empty() || pointer == selectionPointer;
    // The toolbar answers wherever it shows; otherwise a press in the margins around the
    // board is a press on the bare picture.
    if (gestureFree) {
        pick(x, y);
        if (!onBoard) {
            clearSelection();
        }
        if (!selection.empty() && pointer != selectionPointer) {
            forget(selectionPointer);
            selectionPointer = pointer;
        }
    } else {
        pickTools(x, y);
    }
    if (!toolHits.empty()) {
        selectTool(toolHits[0] / 2);
        return;
    }
    if (button == rightButton) {
        if ((gestureFree && !selection.empty()) || !onBoard) {
            return;
        }
        s.paintMode = Growing;
        s.painting = paintAt(s.tool == Stroke::toolbarTool ? currentTool : s.tool, boardX, boardY);
    } else if (button == leftButton && gestureFree) {
        connect(x, y, t);
    }
}

void Canvas::buttonReleased(int, int, int button, int pointer) {
    const auto found = strokes.find(pointer);
    if (found == strokes.end()) {
        return;
    }
    Stroke& s = found->second;
    s.heldButtons &= ~buttonBit(button);
    if (button == rightButton) {
        s.painting = nullptr;
        s.paintMode = NotPainting;
        if (pointer == selectionPointer) {
            gestureState = 0;
            clearSelection();
        }
    }
    // The gesture's pointer stays known while its selection stands: the band follows it.
    if (pointer != selectionPointer || selection.empty()) {
        forget(pointer);
    }
}

void Canvas::forget(int pointer) {
    const auto found = strokes.find(pointer);
    if (pointer != 0 && found != strokes.end() && found->second.heldButtons == 0) {
        strokes.erase(found);
    }
}

void Canvas::pointerMoved(int x, int y, int pointer) {
    idleTime = 0.0;
    unattendedTime = 0.0;
    idleScatterDone = false;
    // A pointer that holds nothing (a finger or phone between strokes) only moves the light.
    const auto found = strokes.find(pointer);
    if (found != strokes.end()) {
        Stroke& s = found->second;
        if (s.paintMode == Growing) {
            if (animationKind == NoAnimation && s.pointerX != s.pressX && s.pointerY != s.pressY) {
                s.strokeElapsed = 0.0;
                s.paintMode = Trailing;
            }
        } else if (s.paintMode == Trailing) {
            float boardX = 0.0f;
            float boardY = 0.0f;
            // Off the board the stroke lays nothing and picks up again where it comes back.
            if (s.strokeElapsed > trailSpacingSeconds && boardPointAt(x, y, boardX, boardY)) {
                s.paintMode = Growing;
                s.painting =
                    paintAt(s.tool == Stroke::toolbarTool ? currentTool : s.tool, boardX, boardY);
                s.strokeElapsed = 0.0;
                s.pressX = x;
                s.pressY = y;
            }
        }
        s.pointerX = x;
        s.pointerY = y;
    }
    // The light follows whichever pointer moved last.
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

void Canvas::choosePointerTool(int pointer, int tool) {
    if (tool < ParallelogramTool || tool > TriangleTool) {
        return;
    }
    if (pointer == 0) {
        if (!tools.empty()) {
            selectTool(tool);
        }
        return;
    }
    stroke(pointer).tool = tool;
}

void Canvas::growPainting(float factor, int pointer) {
    const auto found = strokes.find(pointer);
    if (found == strokes.end()) {
        return;
    }
    Stroke& s = found->second;
    if (s.painting == nullptr || s.paintMode != Growing) {
        return;
    }
    s.painting->scaleBy(factor, factor, 1.0f);
    capGrowth(*s.painting);
}

Stroke& Canvas::stroke(int pointer) {
    return strokes[pointer];
}

const Stroke* Canvas::strokeOf(int pointer) const {
    const auto found = strokes.find(pointer);
    return found != strokes.end() ? &found->second : nullptr;
}

bool Canvas::buttonHeld() const {
    return std::any_of(strokes.begin(), strokes.end(),
                       [](const auto& entry) { return entry.second.heldButtons != 0; });
}

void Canvas::dropStrokes() {
    for (auto entry = strokes.begin(); entry != strokes.end();) {
        if (entry->first == 0) {
            entry->second.painting = nullptr;
            entry->second.paintMode = NotPainting;
            entry->second.heldButtons = 0;
            ++entry;
        } else {
            entry = strokes.erase(entry);
        }
    }
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
Shape* Canvas::paintAt(int tool, float x, float y) {
    Shape* shape = spawnShape(tool, x, y);
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
