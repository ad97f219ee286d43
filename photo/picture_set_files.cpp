#include "photo/picture_set_files.h"

#include "photo/file_group_writer.h"

#include <cstdio>

namespace tessera {
namespace {

std::string_view bytesOf(const std::vector<std::uint8_t>& data) {
    return {reinterpret_cast<const char*>(data.data()), data.size()};
}

} // namespace

std::string ppmHeader(int width, int height) {
    return "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
}

std::string pgmHeader(int width, int height) {
    return "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
}

std::string regionMapText(const std::vector<Region>& regions, BoardSize board) {
    std::string text = "regions " + std::to_string(regions.size()) + "\nbackground 0\n";
    for (std::size_t key = 0; key < regions.size(); ++key) {
        const Region& region = regions[key];
        char line[64];
        std::snprintf(line, sizeof line, "%d %x %d %d %d\n", region.number,
                      static_cast<unsigned>(key), region.red, region.green, region.blue);
        text += line;
    }
    if (!(board == BoardSize{})) {
        text += "board " + std::to_string(board.width) + " " + std::to_string(board.height) + "\n";
    }
    return text;
}

std::string writePictureSet(const std::string& name, const PictureSet& set) {
    FileGroupWriter writer;
    std::string error =
        writer.stage(name + ".ppm", ppmHeader(set.picture.width, set.picture.height),
                     bytesOf(set.picture.pixels));
    if (error.empty()) {
        error = writer.stage(name + "_mask.pgm", pgmHeader(set.maskWidth, set.maskHeight),
                             bytesOf(set.mask));
    }
    if (error.empty()) {
        error = writer.stage(name + ".map", regionMapText(set.regions, set.board), "");
    }
    if (error.empty()) {
        error = writer.commit();
    }
    return error;
}

} // namespace tessera
