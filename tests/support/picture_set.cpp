#include "support/picture_set.h"

namespace tessera::test {

std::string writePictureSet(const TempDir& dir, const std::string& name, int pictureWidth,
                            int pictureHeight, const std::function<Rgb8(int, int)>& pixel,
                            int maskWidth, int maskHeight,
                            const std::function<unsigned char(int, int)>& cell,
                            const std::string& map) {
    std::string picture =
        "P6\n" + std::to_string(pictureWidth) + " " + std::to_string(pictureHeight) + "\n255\n";
    for (int row = 0; row < pictureHeight; ++row) {
        for (int column = 0; column < pictureWidth; ++column) {
            const Rgb8 p = pixel(column, row);
            picture += {static_cast<char>(p.r), static_cast<char>(p.g), static_cast<char>(p.b)};
        }
    }
    std::string mask =
        "P5\n" + std::to_string(maskWidth) + " " + std::to_string(maskHeight) + "\n255\n";
    for (int row = 0; row < maskHeight; ++row) {
        for (int column = 0; column < maskWidth; ++column) {
            mask += static_cast<char>(cell(column, row));
        }
    }
    dir.write(name + ".ppm", picture);
    dir.write(name + "_mask.pgm", mask);
    dir.write(name + ".map", map);
    return dir.path(name);
}

} // namespace tessera::test
