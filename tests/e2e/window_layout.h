#pragma once

#include "screen_region.h"
#include "tools/screenshot/screen_image.h"

namespace tessera {

// Where the program draws what in its 640 x 480 window with the camera as it starts,
// and the colours it draws there, as far as the tests look at them.

// The middle of the board: the cut orange of the fruit picture.
constexpr ScreenRegion boardCentre{240, 180, 400, 300};
// A corner of the board, well inside the picture at the start.
constexpr ScreenRegion boardCorner{15, 15, 45, 45};

// The four tools stand side by side at the bottom left, each a blue button face with a
// yellow icon on it, on a grey strip.
constexpr int toolCentreX[] = {28, 86, 145, 203};
constexpr int toolbarTop = 446;
constexpr int toolbarBottom = 478;
constexpr int toolHalfWidth = 18;
const Rgb buttonBlue{0, 0, 178};
const Rgb iconYellow{230, 230, 0};
// The icon of the chosen tool is drawn brighter.
const Rgb litIconYellow{255, 255, 0};
constexpr int toolColourTolerance = 40;
// The strip shows between the button faces.
constexpr ScreenRegion stripGaps[] = {
    {52, 455, 62, 469}, {110, 455, 120, 469}, {168, 455, 178, 469}};

// With --touch the toolbar is for fingers: each face 48 pixels wide or a little more.
constexpr int fingerToolCentreX[] = {32, 104, 177, 249};
constexpr int fingerToolHalfWidth = 24;

inline ScreenRegion toolArea(int tool, int shiftUp = 0) {
    return {toolCentreX[tool] - toolHalfWidth, toolbarTop - shiftUp,
            toolCentreX[tool] + toolHalfWidth, toolbarBottom - shiftUp};
}
inline ScreenRegion fingerToolArea(int tool) {
    return {fingerToolCentreX[tool] - fingerToolHalfWidth, toolbarTop,
            fingerToolCentreX[tool] + fingerToolHalfWidth, toolbarBottom};
}

// The fruit picture, not a blank, black or grey board: bright enough, coloured, orange
// rather than another hue, and with the detail of a photograph.
inline bool showsFruitPicture(const ScreenImage& shot) {
    const Rgb mean = meanColour(shot, boardCentre);
    return brightness(mean) > 60 && saturation(mean) > 40 && mean.red > mean.green &&
           mean.green > mean.blue && brightnessSpread(shot, boardCentre) > 15;
}

} // namespace tessera
