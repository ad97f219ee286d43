#pragma once

#include "canvas/bare_canvas.h"
#include "canvas/idle_scatter.h"
#include "canvas/pick_volume.h"
#include "canvas/stroke.h"
#include "frame/frame.h"
#include "frame/renderer.h"
#include "picture/image.h"
#include "picture/mask_grid.h"
#include "picture/region_map.h"
#include "scene/model.h"
#include "scene/shape.h"
#include "scene/shape_batch.h"

#include <GL/gl.h>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace tessera {

// How far the camera stands in front of the board when a canvas starts.
constexpr float startingCameraDistance = 600.0f;

// Light 1, which follows the pointer: positional, 5 units in front of the board point
// under the pointer. Sent by the load and again on every pointer movement.
extern float light1Ambient[4];
extern float light1Diffuse[4];
extern float light1Specular[4];
extern float light1Position[4];

// The application controller: it owns the picture set, the board, the toolbar, the placed
// shapes, the selection, the camera and all interaction and animation state. The window
// system's callbacks each forward to one of its operations.
class Canvas {
public:
    enum Tool { ParallelogramTool = 0, CircleTool = 1, SquareTool = 2, TriangleTool = 3 };
    enum Animation { NoAnimation = 0, Scattering = 1, ReturningHome = 2 };
    enum PaintMode {
        NotPainting = Stroke::NotPainting,
        Growing = Stroke::Growing,
        Trailing = Stroke::Trailing
    };

    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Loading (needs a current GL context): picture, texture, board, mask, region map,
    // toolbar, camera, light 1. A bad file ends the program through fatalError. A load
    // starts the canvas afresh: no shapes, no stroke, no gesture under way.
    int load(const char* name);
    // The same from a picture set already in memory (made from a photograph): prints
    // nothing and cannot fail.
    int loadPictureSet(const char* name, Image picture, Image mask, RegionMap map);
    void buildToolbar();

    // Drawing. setProjection also keeps the viewport, for picking; drawFrame only reads the
    // Canvas and returns 0 when no picture set is loaded. The placed shapes go to the
    // renderer as one batch, or one by one with referenceDrawing.
    void setProjection(int x, int y, int width, int height);
    int drawFrame(GLenum mode) const;
    // The frame drawFrame hands the renderer: for the window (rendering) or for selection.
    const Frame& describeFrame(bool rendering) const;
    // The camera as a viewport of width / height = aspect sees through it. The field of view
    // is the vertical one, widened for a viewport narrower than the board, so that every
    // window shows the whole board, centred, with bars at the sides or above and below.
    PickVolume::Camera cameraFor(double aspect) const;
    // The same for a board of width x height units, the camera standing where it stands
    // from the board's centre.
    PickVolume::Camera cameraFor(double aspect, int width, int height) const;
    // The same for the toolbar, which every camera shows where the starting camera does,
    // so that zooming and panning never take it out of reach, scaled by toolbarScale().
    PickVolume::Camera toolbarCameraFor(double aspect) const;
    // How much larger than the starting camera shows it the toolbar shows in the last
    // setProjection's viewport, about the board's origin: 1 while leastToolPixels is 0;
    // otherwise enough that each tool is leastToolPixels wide, as long as every tool stays
    // in the window.
    double toolbarScale() const;
    // A whole frame for a window of the size, from windowBottom up: clears, sets the
    // projection and draws. The colour is not cleared where the board covers the whole
    // window (referenceDrawing always clears it).
    void showFrame(int width, int height);

    // Keyboard and the idle step.
    int keyPressed(int key);
    void advance(float dt);
    void scatter();
    void returnHome();

    // Picking: the placed shapes and toolbar entries under a window point join
    // `selection` and `toolHits`; a press on nothing clears the selection. What lies under
    // the point is found on the CPU, or in OpenGL's selection mode with referenceDrawing.
    int pick(int x, int y);
    // The names of what a 2 x 2 pixel region at window point (x, y) hits, in drawing order:
    // shape indices, then the number of shapes plus each toolbar index. hitsAt tests the
    // outlines on the CPU; selectionHitsAt asks OpenGL's selection mode (it needs a
    // context). Both give the same list but where an edge grazes the region.
    void hitsAt(int x, int y, std::vector<GLuint>& names) const;
    void selectionHitsAt(int x, int y, std::vector<GLuint>& names) const;
    // The volume a size x size pixel region at window point (x, y) sees, in the viewport of
    // the last setProjection.
    PickVolume pickVolume(int x, int y, double size) const;
    int collectHits(const std::vector<GLuint>& names);
    void clearSelection();
    // The smaller of the width and the height in window pixels that the shape's outline,
    // unrotated, takes as the camera shows it in the last setProjection's viewport.
    double shownAcross(const Shape& shape) const;
    // The board-plane point shown at window point (x, y); 0 when there is none. Painting,
    // the light that follows the pointer and anything else placed under the pointer ask
    // this; nothing converts window points to board points by hand.
    int unproject(int x, int y, float& outX, float& outY) const;
    // The same in a viewport other than the last setProjection's.
    int unprojectIn(const std::array<int, 4>& shown, int x, int y, float& outX, float& outY) const;
    // The point a session recorded on a board of width x height units pointed at, in that
    // viewport, taken to this board in proportion: as far across and up it.
    int unprojectAs(int width, int height, const std::array<int, 4>& shown, int x, int y,
                    float& outX, float& outY) const;
    // The other way: the window point of that viewport that shows board point (x, y).
    int projectIn(const std::array<int, 4>& shown, float x, float y, double& outX,
                  double& outY) const;
    // The point under window point (x, y) when it lies on the board, not in the margins.
    bool boardPointAt(int x, int y, float& outX, float& outY) const;

    // Pointer input, tools and painting. Each pointer paints a stroke of its own; pointer 0,
    // the mouse, always has one, another's goes when its last button lifts. Gestures stay
    // one at a time: while one pointer's selection stands, another's presses neither pick
    // shapes nor connect, only paint and choose tools.
    void buttonPressed(int x, int y, int button, int pointer = 0);
    void buttonReleased(int x, int y, int button, int pointer = 0);
    void pointerMoved(int x, int y, int pointer = 0);
    void selectTool(int tool);
    // What the pointer's presses paint from now on (the toolbar's choice for the mouse).
    void choosePointerTool(int pointer, int tool);
    // The shape the pointer is painting grown by factor at once, as a hold grows it over
    // time, and never past maxGrownScale(); nothing when it paints none.
    void growPainting(float factor, int pointer = 0);
    // The pointer's stroke, made when it has none; or nullptr when it has none.
    Stroke& stroke(int pointer);
    const Stroke* strokeOf(int pointer) const;
    // Whether any pointer holds a button: somebody is there.
    bool buttonHeld() const;
    // A new shape of the tool's kind at board point (x, y), coloured like the region under
    // it; the Canvas keeps it in `shapes`.
    Shape* spawnShape(int kind, float x, float y);

    // Removing shapes: `z` takes back the newest, Delete or Backspace the selected ones.
    // The selection's indices, the shape being painted and a gesture under way stay valid.
    void removeShape(std::size_t index);
    void undoLastShape();
    void deleteSelected();

    // What the canvas is while it has no shapes, and a return to it: every shape, the
    // selection and any stroke or gesture go, and the rest is as it was taken.
    BareCanvas bare() const;
    void returnTo(const BareCanvas& state);

    // Board units per mask cell (never below 1): the camera's pan step and the size of
    // painted shapes.
    int cellWidth() const;
    int cellHeight() const;
    MaskGrid maskGrid() const;
    // The scale at which a held shape stops growing.
    float maxGrownScale() const;

    std::vector<std::unique_ptr<Shape>> shapes;
    std::vector<int> selection;
    // The pointer whose press made the selection, and whose gesture it is.
    int selectionPointer = 0;
    std::map<int, Stroke> strokes;
    std::unique_ptr<Model> board;
    std::vector<unsigned char> picturePixels;
    int pictureWidth = 0;
    int pictureHeight = 0;
    std::vector<std::unique_ptr<Shape>> tools;
    std::vector<int> toolHits;
    RegionMap regionMap;
    std::vector<unsigned char> maskPixels;
    int maskWidth = 0;
    int maskHeight = 0;
    int boardWidth = 640;
    int boardHeight = 480;
    float cameraX = 0.0f;
    float cameraY = 0.0f;
    float cameraDistance = startingCameraDistance;
    float zNear = 10.0f;
    float zFar = 5000.0f;
    float fieldOfView = 45.0f;
    int gestureState = 0;
    float gestureX1 = 0.0f;
    float gestureY1 = 0.0f;
    float gestureTime1 = 0.0f;
    float gestureX2 = 0.0f;
    float gestureY2 = 0.0f;
    float gestureTime2 = 0.0f;
    int animationKind = NoAnimation;
    double timerDuration = 0.0;
    double timerElapsed = 0.0;
    double idleTime = 0.0;
    int currentTool = ParallelogramTool;
    // Unattended use: after clearAfterSeconds (0: never) without pointer motion, a press
    // or a key the canvas is cleared as by Escape; at most maxShapes (0: no limit) shapes
    // are kept, the oldest going first.
    double clearAfterSeconds = 0.0;
    double unattendedTime = 0.0;
    std::size_t maxShapes = 0;
    // How many times Escape or clearAfterSeconds has cleared the canvas: the program may
    // show another picture after each.
    std::uint64_t clearCount = 0;
    // Prints nothing while set (no key codes, no connections): the events are nobody's.
    bool quiet = false;
    // After more than idleScatterSeconds (0: never) without pointer motion the shapes
    // scatter, once an idle period; pointer motion starts a new period.
    double idleScatterSeconds = defaultIdleScatterSeconds;
    bool idleScatterDone = false;
    // How far scatters have raised light 0 since the last return home, which lowers it by
    // exactly that much.
    float light0Raised = 0.0f;
    // Draw and pick as the shapes' own code does (immediate mode, selection mode): slower,
    // the oracle that the fast path is held against.
    bool referenceDrawing = false;
    // The least width in window pixels of a tool on the toolbar, for a finger; 0 for the
    // mouse, which has the toolbar as the starting camera shows it.
    double leastToolPixels = 0.0;
    // x, y, width and height of the last setProjection.
    std::array<int, 4> viewport = {0, 0, 0, 0};
    // Laid over every frame drawn for the window, in its pixels: the program's own controls.
    Overlay overlay;
    // The row of the buffer drawn into where the window's bottom row lies, counted from
    // the bottom: 0 for a window of its own, above 0 for a frame drawn in the top rows of
    // a larger offscreen buffer.
    int windowBottom = 0;
    // The share of the window's width and height showFrame draws at (RenderScale): the
    // renderer stretches it over the window, and everything else stays in window pixels.
    double renderScale = 1.0;

private:
    void connect(int x, int y, float t);
    void joinPair(Shape& a, Shape& b, float interval);
    Shape& selected(std::size_t k) const;
    // A shape of the tool that shows right under the pointer showing board point (x, y),
    // coloured like the picture there.
    Shape* paintAt(int tool, float x, float y);
    // The toolbar's entries under window point (x, y) join toolHits; the shapes are left be.
    void pickTools(int x, int y);
    // Every stroke's shape and buttons let go; pointer 0's position stays.
    void dropStrokes();
    // A pointer other than the mouse that holds nothing leaves no stroke behind.
    void forget(int pointer);
    Region regionAt(int x, int y) const;
    Region pictureColourAt(int x, int y) const;
    void clearCanvas();
    void showPicture(const char* name);
    void finishLoad();
    void raiseLight0(float dz);
    int unprojectThrough(const PickVolume::Camera& camera, const std::array<int, 4>& shown, int x,
                         int y, float& outX, float& outY) const;
    // A held shape past maxGrownScale() back to it, both axes by one factor.
    void capGrowth(Shape& shape) const;
    Projection projection() const;
    Projection projectionThrough(const PickVolume::Camera& camera, double aspect) const;
    Lighting lighting() const;
    void describeOutline(const Shape& shape, std::vector<Outline>& outlines) const;
    void describeBand() const;

    std::unique_ptr<Renderer> renderer = makeRenderer();
    // The renderer has the board of a picture set.
    bool boardPrepared = false;
    // Render caches: refilled by every frame and pick, kept to reuse their storage.
    mutable ShapeBatch batch;
    mutable Frame frame;
    std::vector<GLuint> pickNames;
};

// Side of the square region around the pointer that a pick tests, in pixels.
constexpr double pickRegionPixels = 2.0;

// Length of the scatter and return-home animations.
constexpr double canvasAnimationSeconds = 3.0;
// Zoom stops here. Within these the key only multiplies the distance; past them a held
// key would zoom in to 0, from which zooming out never returns, or out to infinity.
constexpr float minCameraDistance = 1.0f;
constexpr float maxCameraDistance = 1.0e6f;
// A shape held under the button grows no further than this scale (about half its width) in
// mask cells: some nine cells across, a seventh of the board's width, so that a finger
// resting on the button cannot cover the picture. Every hold in the demo (the largest, a
// pulsing circle held 1.3 s, reaches 4.2) ends below it and grows as it always has.
constexpr float maxGrownCells = 4.5f;
// The toolbar grows for a finger no further than this: the camera stays well behind the
// toolbar's front (at 40 it would come nearer than zNear).
constexpr double maxToolbarScale = 16.0;

} // namespace tessera
