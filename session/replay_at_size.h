#pragma once

#include "photo/fit_plan.h"
#include "replay/input_event.h"

namespace tessera {

class Canvas;

// A recorded session played in a window of another size: every recorded reshape gives
// the window's own size instead, and every pointer position goes to the pixel that shows
// there the board point it showed in the recorded window. At the recorded size the events
// pass unchanged, so the session plays exactly as it was recorded.
class ReplayAtSize {
public:
    // The recorded window's size before its first reshape (the recording's header), and
    // the size to play at.
    ReplayAtSize(int recordedWidth, int recordedHeight, int width, int height);

    // The window played in has changed size.
    void resize(int width, int height);
    // The board the session was recorded on, where it is played over another (an
    // invitation over a photograph of its own shape): its pointer then goes to the board
    // point as far across and up this board as it was across and up that one.
    void setRecordedBoard(BoardSize board) { recordedBoard = board; }
    int width() const { return shownWidth; }
    int height() const { return shownHeight; }

    // The event to deliver for a recorded one, mapped through the camera as the Canvas has
    // it just before the event: the camera the recorded window showed the board through.
    InputEvent map(const InputEvent& recorded, const Canvas& canvas);

private:
    int recordedWidth;
    int recordedHeight;
    int shownWidth;
    int shownHeight;
    // 0 x 0: the board played on, as when recording or replaying a session on its picture.
    BoardSize recordedBoard{0, 0};
};

} // namespace tessera
