#include "web/page_pictures.h"

#include "photo/picture_set_buffers.h"
#include "photo/picture_set_summary.h"
#include "photo/upright_photo.h"
#include "replay/picture_checksum.h"
#include "replay/recorded_photo_name.h"
#include "replay/replay_reader.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <utility>

namespace tessera {

namespace {

const char* const pictureSet = "fruit";
const char* const defaultPhotograph = "fruits.jpg";

// The files the default picture is read from: the set, or the photograph it came from.
std::vector<std::string> defaultPictureFiles(bool fromPhotograph) {
    const std::string base(pictureSet);
    if (fromPhotograph) {
        return {defaultPhotograph};
    }
    return {base + ".ppm", base + "_mask.pgm", base + ".map"};
}

void showSet(Canvas& canvas, const char* name, const PictureSet& set) {
    PictureSetBuffers buffers = pictureSetBuffers(set);
    canvas.loadPictureSet(name, std::move(buffers.picture), std::move(buffers.mask),
                          std::move(buffers.regionMap));
}

// The picture set of a photograph the browser has decoded, made as the program makes one
// given to it, with the page's only options.
std::string photoSet(const unsigned char* rgba, int width, int height, int photoWidth,
                     int photoHeight, const char* name, PictureSet& set) {
    if (std::string error = makePictureSetFromRgba(rgba, width, height, PhotoOptions{}, set);
        !error.empty()) {
        return std::string(name) + ": " + error;
    }
    set.photoWidth = photoWidth;
    set.photoHeight = photoHeight;
    return "";
}

} // namespace

PhotoOptions defaultPhotoOptions(double shape) {
    PhotoOptions options;
    options.shape = shape;
    return options;
}

void PagePictures::keepDefaultPhoto(const unsigned char* rgba, int width, int height) {
    defaultPixels.assign(rgba, rgba + static_cast<std::size_t>(width) * height * 4);
    defaultWidth = width;
    defaultHeight = height;
}

std::string PagePictures::showDefault(Canvas& canvas, const PhotoOptions& options) {
    if (options.shape <= 0.0) {
        madeAtShape = 0.0;
        canvas.load(pictureSet);
        return "";
    }
    PictureSet set;
    if (std::string error =
            makePictureSetFromRgba(defaultPixels.data(), defaultWidth, defaultHeight, options, set);
        !error.empty()) {
        return std::string(defaultPhotograph) + ": " + error;
    }
    showSet(canvas, defaultPhotograph, set);
    madeAtShape = options.shape;
    return "";
}

bool PagePictures::reshapeDefault(Show& show, double shape, std::string& said) {
    Canvas& canvas = show.canvas;
    if (madeAtShape <= 0.0 || shape <= 0.0 || show.replaying() || show.recording() ||
        !canvas.shapes.empty() || canvas.buttonHeld() || show.touching()) {
        return false;
    }
    said = showDefault(canvas, defaultPhotoOptions(shape));
    return said.empty();
}

bool PagePictures::keepStartPhoto(const unsigned char* rgba, int width, int height, int photoWidth,
                                  int photoHeight, const char* fileName, const char* path,
                                  std::string& said) {
    auto photo = std::make_unique<StartPhoto>();
    said = recordedPhotoName(fileName, photo->name);
    if (said.empty()) {
        said = photoSet(rgba, width, height, photoWidth, photoHeight, fileName, photo->set);
    }
    if (said.empty()) {
        said = checksumFiles({path}, photo->checksum);
    }
    if (!said.empty()) {
        return false;
    }
    said = pictureSetSummary(fileName, photo->set);
    startPhoto = std::move(photo);
    return true;
}

bool PagePictures::showPhoto(Canvas& canvas, const unsigned char* rgba, int width, int height,
                             int photoWidth, int photoHeight, const char* name, std::string& said) {
    PictureSet set;
    if (said = photoSet(rgba, width, height, photoWidth, photoHeight, name, set); !said.empty()) {
        return false;
    }
    said = pictureSetSummary(name, set);
    showSet(canvas, name, set);
    madeAtShape = 0.0;
    return true;
}

std::string PagePictures::showFirst(Show& show, const PhotoOptions& picture) {
    if (startPhoto == nullptr || show.replaying()) {
        return showDefault(show.canvas, picture);
    }
    showSet(show.canvas, startPhoto->name.c_str(), startPhoto->set);
    startPhoto->set = PictureSet{}; // the Canvas has its own copy
    return "";
}

double PagePictures::photoScale(int width, int height) {
    const PhotoOptions options;
    return std::min(1.0, std::max(static_cast<double>(options.maxWidth) / width,
                                  static_cast<double>(options.maxHeight) / height));
}

std::string PagePictures::start(Show& show, int width, int height, const char* replay,
                                const char* name, bool fast, bool record, double shape,
                                const char* recordingPath) {
    PhotoOptions picture = defaultPhotoOptions(shape);
    if (replay != nullptr && replay[0] != '\0') {
        if (std::string error = openReplay(show, replay, name, width, height, fast, picture);
            !error.empty()) {
            return error;
        }
    }
    if (std::string error = showFirst(show, picture); !error.empty()) {
        return error;
    }
    return record && !show.replaying() ? startRecording(show, recordingPath, width, height) : "";
}

std::string PagePictures::photoRefusal(const Show& show, const char* name) const {
    if (show.replaying()) {
        return std::string(name) + ": a replay plays on its own picture";
    }
    if (show.recording()) {
        return std::string(name) + ": a recording keeps the picture it began on; save it, then "
                                   "reload the page to show a photograph";
    }
    return "";
}

std::string PagePictures::openReplay(Show& show, const char* path, const char* name, int width,
                                     int height, bool fast, PhotoOptions& picture) const {
    ReplayHeader header;
    if (std::string error = recordingFault(path, name, header); !error.empty()) {
        return error;
    }
    picture = header.photo;
    if (header.picture != ReplayHeader::Photograph) {
        picture.shape = 0.0;
    }
    return show.play(path, header, width, height, fast);
}

std::string PagePictures::startRecording(Show& show, const char* path, int width,
                                         int height) const {
    ReplayHeader header;
    if (std::string error = describeRecording(header); !error.empty()) {
        return error;
    }
    return show.record(path, header, width, height);
}

// The session from its start, as the program records one of the default picture (or the
// default photograph it was made from) or of a photograph made with the default options.
std::string PagePictures::describeRecording(ReplayHeader& header) const {
    if (startPhoto != nullptr) {
        header.picture = ReplayHeader::Photograph;
        header.picturePath = startPhoto->name;
        header.checksum = startPhoto->checksum;
        return "";
    }
    if (madeAtShape > 0.0) {
        header.picture = ReplayHeader::Photograph;
        header.picturePath = defaultPhotograph;
        header.photo = defaultPhotoOptions(madeAtShape);
    }
    return checksumFiles(defaultPictureFiles(madeAtShape > 0.0), header.checksum);
}

// The recording's picture must be the default set, or the default photograph, byte for
// byte: the page has no other.
std::string PagePictures::checkReplayPicture(const ReplayHeader& header) const {
    const bool photograph =
        header.picture == ReplayHeader::Photograph && header.picturePath == defaultPhotograph;
    if (header.picture != ReplayHeader::DefaultPicture && !photograph) {
        return "the session was recorded on " + header.picturePath +
               ", which this page does not have; it plays sessions of the default picture";
    }
    std::uint64_t sum = 0;
    if (std::string error = checksumFiles(defaultPictureFiles(photograph), sum); !error.empty()) {
        return error;
    }
    if (sum != header.checksum) {
        char sums[80];
        std::snprintf(sums, sizeof sums, "checksum %016" PRIx64 ", recorded %016" PRIx64, sum,
                      header.checksum);
        return std::string("the session was recorded on another default picture (") + sums + ")";
    }
    return "";
}

// The page's own path for the file means nothing to a person: the fault names it name.
std::string PagePictures::recordingFault(const std::string& path, const std::string& name,
                                         ReplayHeader& header) const {
    if (std::string error = checkReplayFile(path, header); !error.empty()) {
        if (error.compare(0, path.size(), path) == 0) {
            error.replace(0, path.size(), name);
        }
        return error;
    }
    if (std::string error = checkReplayPicture(header); !error.empty()) {
        return name + ": " + error;
    }
    return "";
}

} // namespace tessera
