#include "program/replay_picture.h"

#include "replay/picture_checksum.h"

#include <cinttypes>
#include <cstdio>

namespace tessera {
namespace {

std::string recordedPicture(const ReplayHeader& header) {
    switch (header.picture) {
    case ReplayHeader::PictureSet:
        return "the picture set " + header.picturePath;
    case ReplayHeader::Photograph:
        return "the photograph " + header.picturePath;
    case ReplayHeader::DefaultPicture:
        break;
    }
    return "the default picture";
}

} // namespace

std::string replayPicture(const ReplayHeader& header, const std::string& replayFile,
                          const std::string& given, const std::string& howToGive,
                          const std::string& executable, PictureSource& source) {
    source = choosePicture(given.empty() ? header.picturePath : given, executable);
    // A path with nothing there would otherwise be taken for a set's prefix, and named as
    // its .ppm file.
    if (header.picture == ReplayHeader::Photograph) {
        source.kind = PictureSource::Photograph;
    }
    std::uint64_t sum = 0;
    if (std::string error = checksumFiles(pictureFiles(source), sum); !error.empty()) {
        if (given.empty()) {
            error += " (" + replayFile + " was recorded on " + recordedPicture(header) + ": " +
                     howToGive + ")";
        }
        return error;
    }
    if (sum != header.checksum) {
        char sums[80];
        std::snprintf(sums, sizeof sums, "checksum %016" PRIx64 ", recorded %016" PRIx64, sum,
                      header.checksum);
        return source.path + ": not the picture " + replayFile + " was recorded on, " +
               recordedPicture(header) + " (" + sums + ")";
    }
    return "";
}

} // namespace tessera
