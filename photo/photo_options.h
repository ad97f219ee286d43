#pragma once

#include "photo/fit_plan.h"

#include <string>

namespace tessera {

// The board the program shows a picture on is at most 640 units a side and divides it by
// the mask's size with whole numbers, so a wider or taller grid would give cells of size 0.
constexpr int maxCellsAcross = 640;
constexpr int maxCellsDown = 640;
constexpr int maxRegions = 255; // a mask cell is one byte holding the region key
// The picture made is held to the program's readers' limit (picture/image.h).
constexpr int maxPictureSide = 8192;

// How a photograph is made into a picture set.
struct PhotoOptions {
    int regions = 12;
    // 0 x 0: square cells of boardCellUnits over the board (64 x 48 on the 4:3 board).
    int cellsAcross = 0;
    int cellsDown = 0;
    int maxWidth = 1024; // the picture made is at most this size
    int maxHeight = 768;
    Fit fit = Fit::own;
    // With own, the board's width / height when above 0, instead of the photograph's.
    double shape = 0.0;
};

// The mask grid the options lay over a board: as given, or square cells.
void cellsFor(const PhotoOptions& options, BoardSize board, int& cellsAcross, int& cellsDown);

// True for the options that set a PhotoOptions field: --regions, --cells, --max-size and
// --fit, so that every command line that makes picture sets spells them alike.
bool isPhotoOption(const std::string& option);

// Sets the field that option names from its value text. Returns an empty string, or the
// message naming the option, what it needs and the value given.
std::string setPhotoOption(const std::string& option, const std::string& value,
                           PhotoOptions& options);

// Empty when every field is in the range its option allows, else the first one's message.
std::string photoOptionsError(const PhotoOptions& options);

} // namespace tessera
