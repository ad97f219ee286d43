#include "session/replay_at_size.h"

#include "canvas/canvas.h"

#include <cmath>

namespace tessera {

ReplayAtSize::ReplayAtSize(int recordedWidth, int recordedHeight, int width, int height)
    : recordedWidth(recordedWidth), recordedHeight(recordedHeight), shownWidth(width),
      shownHeight(height) {}

void ReplayAtSize::resize(int width, int height) {
    shownWidth = width;
    shownHeight = height;
}

InputEvent ReplayAtSize::map(const InputEvent& recorded, const Canvas& canvas) {
    InputEvent event = recorded;
    if (event.kind == InputEvent::Reshape) {
        recordedWidth = event.width;
        recordedHeight = event.height;
        event.width = shownWidth;
        event.height = shownHeight;
        return event;
    }
    const bool pointer = event.kind == InputEvent::Press || event.kind == InputEvent::Release ||
                         event.kind == InputEvent::Motion;
    const bool sameBoard = recordedBoard == BoardSize{0, 0} ||
                           recordedBoard == BoardSize{canvas.boardWidth, canvas.boardHeight};
    if (!pointer || (recordedWidth == shownWidth && recordedHeight == shownHeight && sameBoard)) {
        return event;
    }
    float boardX = 0.0f;
    float boardY = 0.0f;
    double x = 0.0;
    double y = 0.0;
    const std::array<int, 4> recordedView{0, 0, recordedWidth, recordedHeight};
    const int found = sameBoard
                          ? canvas.unprojectIn(recordedView, event.x, event.y, boardX, boardY)
                          : canvas.unprojectAs(recordedBoard.width, recordedBoard.height,
                                               recordedView, event.x, event.y, boardX, boardY);
    if (found == 1 &&
        canvas.projectIn({0, 0, shownWidth, shownHeight}, boardX, boardY, x, y) == 1) {
        event.x = static_cast<int>(std::lround(x));
        event.y = static_cast<int>(std::lround(y));
    }
    return event;
}

} // namespace tessera
