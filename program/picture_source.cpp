#include "program/picture_source.h"

#include "decode/photo_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

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

// What a path that is neither a photograph nor a set's prefix names.
std::string whatIsThere(const std::string& path) {
    std::error_code failed;
    const fs::file_status status = fs::status(path, failed);
    if (status.type() == fs::file_type::not_found) {
        return "no such file";
    }
    if (failed) {
        return failed.message();
    }
    return fs::is_directory(status) ? "a folder, not a photograph"
                                    : "a device or other special file, not a photograph";
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

std::string pictureSourceError(const PictureSource& source) {
    const std::string& path = source.path;
    if (source.kind == PictureSource::Photograph) {
        return ""; // its bytes were read to know it; decoding says what else is wrong
    }
    if (source.kind == PictureSource::OtherFile) {
        // A file that cannot be opened may well be a photograph: say why it cannot be read.
        FileStamp stamp;
        std::string error;
        if (photoFormatOfFile(path.c_str(), stamp, error) == PhotoFormat::unknown &&
            !error.empty()) {
            return path + ": " + error;
        }
        return path + ": not a JPEG or PNG photograph (a picture set is named by the common "
                      "prefix of its files, as in data/fruit)";
    }
    if (!hasAnyOfSet(path)) {
        return path + ": " + whatIsThere(path) + ", nor a picture set " + path + ".ppm, " + path +
               "_mask.pgm, " + path + ".map";
    }
    // The readers' own words, with the file they could not open.
    const char* const kinds[] = {"ppm", "pgm", "map"};
    const std::vector<std::string> files = pictureFiles(source);
    for (std::size_t i = 0; i < files.size(); ++i) {
        // Without O_NONBLOCK a FIFO in a set file's place would hold the check for ever.
        const int fd = ::open(files[i].c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return std::string("error opening ") + kinds[i] + " file " + files[i] + ": " +
                   std::strerror(errno);
        }
        ::close(fd);
    }
    return "";
}

std::string shippedDemo(const std::string& executable) {
    const fs::path folder = fs::path(executable).parent_path();
    const fs::path installed = folder / ".." / "share" / "tessera" / "demo.tessera-replay";
    for (const fs::path& shipped : {folder / "data" / "demo.tessera-replay", installed}) {
        if (isRegularFile(shipped.string())) {
            return shipped.lexically_normal().string();
        }
    }
    return installed.lexically_normal().string();
}

std::string executablePath() {
    std::error_code failed;
    const fs::path self = fs::read_symlink("/proc/self/exe", failed);
    return failed ? std::string() : self.string();
}

std::vector<std::string> pictureFiles(const PictureSource& source) {
    if (source.kind == PictureSource::PictureSetFiles) {
        return {source.path + ".ppm", source.path + "_mask.pgm", source.path + ".map"};
    }
    return {source.path};
}

} // namespace tessera
