#include "canvas/canvas.h"

#include <algorithm>

namespace tessera {

// A shape's index is its place in `shapes`, so every index above the removed one moves
// down by one. A gesture that loses one of its shapes cannot go on: it ends, and the
// shapes it had selected are let go, as a press on the bare picture would do.
void Canvas::removeShape(std::size_t index) {
    if (index >= shapes.size()) {
        return;
    }
    const int removed = static_cast<int>(index);
    const bool wasSelected =
        std::find(selection.begin(), selection.end(), removed) != selection.end();
    if (wasSelected && gestureState != 0) {
        gestureState = 0;
        clearSelection();
    }
    selection.erase(std::remove(selection.begin(), selection.end(), removed), selection.end());
    for (int& entry : selection) {
        if (entry > removed) {
            --entry;
        }
    }
    for (auto& entry : strokes) {
        if (entry.second.painting == shapes[index].get()) {
            entry.second.painting = nullptr;
        }
    }
    shapes.erase(shapes.begin() + static_cast<std::ptrdiff_t>(index));
}

void Canvas::undoLastShape() {
    if (!shapes.empty()) {
        removeShape(shapes.size() - 1);
    }
}

void Canvas::deleteSelected() {
    if (selection.empty()) {
        return;
    }
    gestureState = 0;
    std::vector<int> doomed = selection;
    clearSelection();
    // From the highest index down, so that the indices still to go stay put.
    std::sort(doomed.begin(), doomed.end());
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        removeShape(static_cast<std::size_t>(*it));
    }
}

} // namespace tessera
