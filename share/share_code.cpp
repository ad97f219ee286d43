#include "share/share_code.h"

#include "share/block_font.h"

#include <algorithm>
#include <qrencode.h>
#include <utility>

namespace tessera {
namespace {

const Vec3 light{1.0f, 1.0f, 1.0f};
const Vec3 dark{0.0f, 0.0f, 0.0f};

void rectangle(Overlay& overlay, int left, int top, int width, int height, const Vec3& colour) {
    const auto x0 = static_cast<float>(left);
    const auto y0 = static_cast<float>(top);
    const auto x1 = static_cast<float>(left + width);
    const auto y1 = static_cast<float>(top + height);
    overlay.triangles.insert(overlay.triangles.end(), {{x0, y0, colour},
                                                       {x1, y0, colour},
                                                       {x1, y1, colour},
                                                       {x0, y0, colour},
                                                       {x1, y1, colour},
                                                       {x0, y1, colour}});
}

// Each run of dark cells along a row as one rectangle: a few hundred triangles for a code.
template <typename IsDark>
void darkRuns(Overlay& overlay, int columns, int row, int left, int top, int cellWidth,
              int cellHeight, IsDark isDark) {
    for (int column = 0; column < columns;) {
        if (!isDark(column)) {
            ++column;
            continue;
        }
        const int start = column;
        while (column < columns && isDark(column)) {
            ++column;
        }
        rectangle(overlay, left + start * cellWidth, top + row * cellHeight,
                  (column - start) * cellWidth, cellHeight, dark);
    }
}

// The address in block letters, dark on a light band whose top corner is (edge, top), its
// right one or its left, as large as scale allows within maxWidth; nothing where even the
// smallest does not fit.
void writeAddress(Overlay& overlay, const std::string& text, int edge, bool fromRight, int top,
                  int scale, int maxWidth, int maxHeight) {
    const int count = static_cast<int>(text.size());
    const auto width = [count](int s) { return (count * (glyphColumns + 1) + 3) * s; };
    const auto height = [](int s) { return (glyphRows + 4) * s; };
    while (scale > 1 && (width(scale) > maxWidth || height(scale) > maxHeight)) {
        --scale;
    }
    if (count == 0 || width(scale) > maxWidth || height(scale) > maxHeight) {
        return;
    }
    const int left = fromRight ? edge - width(scale) : edge;
    rectangle(overlay, left, top, width(scale), height(scale), light);
    for (int i = 0; i < count; ++i) {
        const Glyph& glyph = blockGlyph(text[static_cast<std::size_t>(i)]);
        const int x = left + (2 + i * (glyphColumns + 1)) * scale;
        for (int row = 0; row < glyphRows; ++row) {
            const unsigned bits = glyph[static_cast<std::size_t>(row)];
            darkRuns(overlay, glyphColumns, row, x, top + 2 * scale, scale, scale,
                     [bits](int column) { return (bits >> (glyphColumns - 1 - column)) & 1u; });
        }
    }
}

} // namespace

ShareCode::ShareCode(std::string address) : text(std::move(address)) {
    if (text.empty()) {
        return;
    }
    QRcode* code = QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    if (code == nullptr) {
        return;
    }
    side = code->width;
    darks.resize(static_cast<std::size_t>(side) * static_cast<std::size_t>(side));
    for (std::size_t i = 0; i < darks.size(); ++i) {
        darks[i] = (code->data[i] & 1u) != 0;
    }
    QRcode_free(code);
}

void ShareCode::layInto(Overlay& overlay, int windowWidth, int windowHeight, Corner corner) const {
    const int span = side + 2 * quietZone;
    const int shorter = std::min(windowWidth, windowHeight);
    if (empty() || 2 * span * minimumModule > shorter) {
        return;
    }
    const int module = std::max(minimumModule, (shorter / 5 + span / 2) / span);
    const int margin = 2 * module;
    const int codeSide = span * module;
    const bool right = corner == Corner::TopRight;
    const int left = right ? windowWidth - margin - codeSide : margin;
    rectangle(overlay, left, margin, codeSide, codeSide, light);
    const int first = quietZone * module;
    for (int row = 0; row < side; ++row) {
        darkRuns(overlay, side, row, left + first, margin + first, module, module,
                 [this, row](int column) {
                     return darks[static_cast<std::size_t>(row * side + column)];
                 });
    }
    const int below = margin + codeSide;
    writeAddress(overlay, text, right ? windowWidth - margin : margin, right, below,
                 std::max(2, module / 2), windowWidth - 2 * margin, windowHeight - below - margin);
}

} // namespace tessera
