#include "photo/picture_set_buffers.h"

#include <algorithm>

namespace tessera {

PictureSetBuffers pictureSetBuffers(const PictureSet& set) {
    PictureSetBuffers buffers;
    const RgbImage& picture = set.picture;
    buffers.picture.width = picture.width;
    buffers.picture.height = picture.height;
    buffers.picture.pixels.resize(picture.pixelCount() * 4);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* in =
            picture.pixels.data() + static_cast<std::size_t>(y) * picture.width * 3;
        unsigned char* out = buffers.picture.pixels.data() +
                             static_cast<std::size_t>(picture.height - 1 - y) * picture.width * 4;
        for (int x = 0; x < picture.width; ++x, in += 3, out += 4) {
            std::copy_n(in, 3, out);
            out[3] = 255;
        }
    }
    buffers.mask.width = set.maskWidth;
    buffers.mask.height = set.maskHeight;
    buffers.mask.pixels.resize(set.mask.size());
    for (int y = 0; y < set.maskHeight; ++y) {
        std::copy_n(set.mask.data() + static_cast<std::size_t>(y) * set.maskWidth, set.maskWidth,
                    buffers.mask.pixels.data() +
                        static_cast<std::size_t>(set.maskHeight - 1 - y) * set.maskWidth);
    }
    buffers.regionMap.regionCount = static_cast<int>(set.regions.size());
    buffers.regionMap.boardWidth = set.board.width;
    buffers.regionMap.boardHeight = set.board.height;
    for (std::size_t key = 0; key < set.regions.size(); ++key) {
        buffers.regionMap.table.insert({static_cast<int>(key), set.regions[key]});
    }
    return buffers;
}

} // namespace tessera
