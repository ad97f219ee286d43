#pragma once

#include "frame/board_picture.h"
#include "frame/frame.h"

#include <memory>
#include <vector>

namespace tessera {

class Model;

// What draws the Canvas's frames. Animation, picking, input and recording never learn which
// renderer runs: the Canvas describes each frame (Frame) and hands it over here.
class Renderer {
public:
    virtual ~Renderer() = default;

    // Makes what the board needs to show a picture set's picture: its texture and its quad.
    // board is the scene's board (OpenGL 1.1 records its display list there).
    virtual void prepareBoard(const BoardPicture& picture, Model& board) = 0;
    // Draws one frame. Returns 0 when no board has been prepared: nothing is drawn then.
    virtual int draw(const Frame& frame) = 0;

    // OpenGL 1.1 keeps the projection and the lights as state between frames, and reads
    // them back: it is told of each change as it happens. A renderer that takes them from
    // each frame keeps these as they are.
    virtual void project(const Projection& projection);
    virtual void switchOnLight(int index, const LightSource& light);
    virtual void moveLight(int index, const LightSource& light);

    // The names hit, in selection mode, by a size x size pixel region at window point (x, y)
    // of a frame described for selection; false from a renderer without selection mode.
    virtual bool selectionHits(const Frame& frame, int x, int y, double size,
                               std::vector<unsigned int>& names);
};

// The renderer the program is built with: OpenGL 1.1 natively, WebGL 2 in a browser.
std::unique_ptr<Renderer> makeRenderer();

} // namespace tessera
