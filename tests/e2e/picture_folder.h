#pragma once

#include <string>

namespace tessera {

// A fresh folder under the system's temporary folder holding a copy of the picture set
// "fruit" (fruit.ppm, fruit_mask.pgm, fruit.map) from the source tree, for the program to
// run in. Tests may remove or overwrite the copies. The folder goes with the object.
class PictureFolder {
public:
    // Throws std::runtime_error when the folder cannot be made or filled.
    PictureFolder();
    ~PictureFolder();
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;

    const std::string& path() const { return folder; }
    std::string path(const std::string& file) const { return folder + "/" + file; }

    void remove(const std::string& file) const;
    // Replaces the file's contents with text.
    void write(const std::string& file, const std::string& text) const;

private:
    std::string folder;
};

} // namespace tessera
