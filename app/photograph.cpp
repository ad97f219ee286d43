#include "app/photograph.h"

#include "photo/make_picture_set.h"
#include "photo/photo_file.h"

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
        return path + ": " + error;
    }
    const std::size_t regions = set.regions.size();
    summary = path + ": " + std::to_string(set.picture.width) + " x " +
              std::to_string(set.picture.height) + " picture from a " +
              std::to_string(set.photoWidth) + " x " + std::to_string(set.photoHeight) +
              " photograph, " + std::to_string(set.maskWidth) + " x " +
              std::to_string(set.maskHeight) + " cells, " + std::to_string(regions) +
              (regions == 1 ? " region" : " regions");
    buffers = pictureSetBuffers(set);
    return "";
}

} // namespace tessera
