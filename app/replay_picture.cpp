#include "app/replay_picture.h"

#include "session/picture_checksum.h"

#include <cinttypes>
#include <cstdio>

namespace tessera {

std::string replayPicture(const ReplayHeader& header, const std::string& given,
                          const std::string& executable, PictureSource& source) {
    source = choosePicture(given.empty() ? header.picturePath : given, executable);
    std::uint64_t sum = 0;
    if (std::string error = checksumFiles(pictureFiles(source), sum); !error.empty()) {
        return error;
    }
    if (sum != header.checksum) {
        char sums[80];
        std::snprintf(sums, sizeof sums, "checksum %016" PRIx64 ", recorded %016" PRIx64, sum,
                      header.checksum);
        return source.path + ": not the picture the session was recorded on (" + sums + ")";
    }
    return "";
}

} // namespace tessera
