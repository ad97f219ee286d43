#include "app/picture_source.h"

#include "photo/photo_file.h"

#include <filesystem>

namespace tessera {
namespace {

namespace fs = std::filesystem;

bool isRegularFile(const fs::path& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

bool hasPicture(const fs::path& prefix) {
    return isRegularFile(prefix.string() + ".ppm");
}

// Any file of the set counts: a folder with part of a set gets the reader's message for
// the part that is missing, not another picture.
bool hasAnyOfSet(const std::string& prefix) {
    return hasPicture(prefix) || isRegularFile(prefix + "_mask.pgm") ||
           isRegularFile(prefix + ".map");
}

} // namespace

PictureSource choosePicture(const std::string& given, const std::string& executable) {
    if (!given.empty()) {
        if (isRegularFile(given)) {
            if (photoFormatOfFile(given.c_str()) != PhotoFormat::unknown) {
                return {PictureSource::Photograph, given};
            }
            if (!hasPicture(given)) {
                return {PictureSource::OtherFile, given};
            }
        }
        return {PictureSource::PictureSetFiles, given};
    }
    if (hasAnyOfSet(defaultPictureSet) || executable.empty()) {
        return {PictureSource::PictureSetFiles, defaultPictureSet};
    }
    const fs::path folder = fs::path(executable).parent_path();
    for (const fs::path& shipped : {folder / "data" / defaultPictureSet,
                                    folder / ".." / "share" / "tessera" / defaultPictureSet}) {
        if (hasPicture(shipped)) {
            return {PictureSource::PictureSetFiles, shipped.lexically_normal().string()};
        }
    }
    return {PictureSource::PictureSetFiles, defaultPictureSet};
}

std::string executablePath() {
    std::error_code failed;
    const fs::path self = fs::read_symlink("/proc/self/exe", failed);
    return failed ? std::string() : self.string();
}

} // namespace tessera
