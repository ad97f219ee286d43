#include "image/box_resampler.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tessera {
namespace {

// Lengths are counted in units in which a source pixel is `target` long and a new pixel
// `source` long, so that both are whole numbers. A source pixel is never longer than a
// new one, so it covers at most two: `share` of it falls in `first`, the rest in the next.
struct Span {
    int first;
    std::uint32_t share;
};

std::vector<Span> spansOf(int source, int target) {
    std::vector<Span> spans(static_cast<std::size_t>(source));
    for (int i = 0; i < source; ++i) {
        const long long start = static_cast<long long>(i) * target;
        const int first = static_cast<int>(start / source);
        const long long firstEnd = static_cast<long long>(first + 1) * source;
        spans[i] = {first,
                    static_cast<std::uint32_t>(std::min<long long>(target, firstEnd - start))};
    }
    return spans;
}

} // namespace

RgbImage resampleBox(const RgbImage& source, const PixelRect& window, int width, int height) {
    RgbImage result;
    result.width = width;
    result.height = height;
    result.pixels.resize(result.pixelCount() * 3);
    const std::vector<Span> columns = spansOf(window.width, width);
    const std::vector<Span> rows = spansOf(window.height, height);
    const std::size_t rowValues = static_cast<std::size_t>(width) * 3;
    // Sums of a source row across (at most 255 x window width) and of whole new rows.
    std::vector<std::uint32_t> across(rowValues);
    std::vector<std::uint64_t> current(rowValues, 0);
    std::vector<std::uint64_t> next(rowValues, 0);
    const std::uint64_t total = static_cast<std::uint64_t>(window.width) * window.height;
    int row = 0;
    const auto finishRow = [&] {
        std::uint8_t* out = result.pixels.data() + rowValues * row;
        for (std::size_t i = 0; i < rowValues; ++i) {
            out[i] = static_cast<std::uint8_t>((current[i] + total / 2) / total);
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), 0);
        ++row;
    };
    for (int y = 0; y < window.height; ++y) {
        std::fill(across.begin(), across.end(), 0);
        const std::uint8_t* in =
            source.pixels.data() +
            3 * (static_cast<std::size_t>(window.y + y) * source.width + window.x);
        for (int x = 0; x < window.width; ++x, in += 3) {
            const Span& span = columns[x];
            const std::uint32_t rest = static_cast<std::uint32_t>(width) - span.share;
            std::uint32_t* sum = across.data() + 3 * span.first;
            for (int c = 0; c < 3; ++c) {
                sum[c] += in[c] * span.share;
                if (rest > 0) {
                    sum[3 + c] += in[c] * rest;
                }
            }
        }
        const Span& span = rows[y];
        if (span.first > row) {
            finishRow();
        }
        const std::uint64_t rest = static_cast<std::uint64_t>(height) - span.share;
        for (std::size_t i = 0; i < rowValues; ++i) {
            current[i] += static_cast<std::uint64_t>(across[i]) * span.share;
            next[i] += static_cast<std::uint64_t>(across[i]) * rest;
        }
    }
    while (row < height) {
        finishRow();
    }
    return result;
}

} // namespace tessera
