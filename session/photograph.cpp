#include "session/photograph.h"

#include "decode/photo_file.h"
#include "photo/make_picture_set.h"
#include "photo/picture_set_summary.h"
#include "photo/printable_name.h"

#include <vector>

namespace tessera {

std::string preparePhotograph(const std::string& path, const PhotoOptions& options,
                              PictureSetBuffers& buffers, std::string& summary) {
    std::vector<unsigned char> bytes;
    std::string error = readPhotoFile(path.c_str(), bytes);
    PictureSet set;
    if (error.empty()) {
        error = makePictureSetFromBytes(bytes.data(), bytes.size(), options, set);
    }
    if (!error.empty()) {
        return printableName(path) + ": " + error;
    }
    summary = pictureSetSummary(printableName(path), set);
    buffers = pictureSetBuffers(set);
    return "";
}

} // namespace tessera
