#include "picture_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace tessera {

namespace fs = std::filesystem;

PictureFolder::PictureFolder() {
    std::string pattern = (fs::temp_directory_path() / "tessera-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a folder like " + pattern);
    }
    folder = pattern;
    try {
        for (const char* file : {"fruit.ppm", "fruit_mask.pgm", "fruit.map"}) {
            fs::copy_file(fs::path(TESSERA_DATA_DIR) / file, path(file));
        }
    } catch (const fs::filesystem_error&) {
        std::error_code ignored;
        fs::remove_all(folder, ignored); // no destructor runs for a failed constructor
        throw;
    }
}

PictureFolder::~PictureFolder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

void PictureFolder::remove(const std::string& file) const {
    if (!fs::remove(path(file))) {
        throw std::runtime_error("no " + file + " to remove in " + folder);
    }
}

void PictureFolder::write(const std::string& file, const std::string& text) const {
    std::ofstream out(path(file), std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path(file));
    }
}

} // namespace tessera
