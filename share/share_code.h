#pragma once

#include "frame/overlay.h"

#include <string>
#include <vector>

namespace tessera {

// The phones' page's address as a QR code for the big screen's top right corner, away from
// the toolbar at the board's bottom left (or the top left, away from a finger's controls
// down the right edge), with the address written under it for a phone that cannot read
// codes.
class ShareCode {
public:
    // The smallest module, in window pixels, that a phone's camera reads across a room.
    static constexpr int minimumModule = 3;
    // White modules around the code that a reader needs to find it.
    static constexpr int quietZone = 4;
    enum class Corner { TopRight, TopLeft };

    // The address encoded at error correction level M, as 8-bit bytes. An address that
    // cannot be encoded (empty, or too long for any code) gives a code that lays nothing.
    explicit ShareCode(std::string address);

    bool empty() const { return side == 0; }

    // Appends the code, about a fifth of the window's shorter side, and the address beneath
    // it to overlay, in the window's pixels. Nothing where a code of the smallest modules
    // would take more than half the shorter side: it would hide the board.
    void layInto(Overlay& overlay, int windowWidth, int windowHeight,
                 Corner corner = Corner::TopRight) const;

private:
    std::string text;
    int side = 0;            // modules a side, the quiet zone not counted
    std::vector<bool> darks; // row by row from the top
};

} // namespace tessera
