#include "app/picture_source.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace tessera {
namespace {

namespace fs = std::filesystem;

bool isRegularFile(const fs::path& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

// JPEG files start with a start-of-image marker followed by another marker; PNG files
// with their fixed eight-byte signature.
bool startsLikePhotograph(const std::string& path) {
    std::array<unsigned char, 8> head{};
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    const std::streamsize got = in.gcount();
    const unsigned char png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (got >= 8 && std::memcmp(head.data(), png, sizeof png) == 0) {
        return true;
    }
    return got >= 3 && head[0] == 0xff && head[1] == 0xd8 && head[2] == 0xff;
}

bool hasPicture(const fs::path& prefix) {
    return isRegularFile(prefix.string() + ".ppm");
}

} // namespace

PictureSource choosePicture(const std::string& given, const std::string& executable) {
    if (!given.empty()) {
        if (isRegularFile(given) && startsLikePhotograph(given)) {
            return {PictureSource::Photograph, given};
        }
        return {PictureSource::PictureSetFiles, given};
    }
    if (hasPicture(defaultPictureSet) || executable.empty()) {
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
