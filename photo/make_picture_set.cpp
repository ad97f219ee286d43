#include "photo/make_picture_set.h"

#include "decode/image_decoder.h"
#include "decode/photo_file.h"
#include "image/orientation.h"
#include "photo/picture_fitting.h"
#include "photo/upright_photo.h"

#include <new>
#include <utility>
#include <vector>

namespace tessera {
namespace {

FitPlan planFor(int storedWidth, int storedHeight, int orientation, const PhotoOptions& options) {
    const bool swapped = swapsSides(orientation);
    return planFit(swapped ? storedHeight : storedWidth, swapped ? storedWidth : storedHeight,
                   options.fit, options.maxWidth, options.maxHeight, options.shape);
}

// A smaller decode serves when it gives the very picture the full size gives; planFit
// never scales up, so its part shown then has at least the pixels it lands on.
bool samePicture(const FitPlan& full, const FitPlan& scaled) {
    return full.width == scaled.width && full.height == scaled.height &&
           full.placed == scaled.placed && full.board == scaled.board;
}

std::string makeSet(const unsigned char* bytes, std::size_t length, const PhotoOptions& options,
                    PictureSet& set) {
    std::string error = photoOptionsError(options);
    if (!error.empty()) {
        return error;
    }
    const ScaleCheck acceptScale = [&options](const ScaleOffer& offer) {
        return samePicture(
            planFor(offer.storedWidth, offer.storedHeight, offer.orientation, options),
            planFor(offer.width, offer.height, offer.orientation, options));
    };
    DecodedPhoto photo;
    error = decodePhoto(bytes, length, acceptScale, photo);
    if (!error.empty()) {
        return error;
    }
    const FitPlan plan = planFor(photo.image.width, photo.image.height, photo.orientation, options);
    RgbImage picture = fitPhotograph(photo.image, photo.orientation, plan);
    photo.image = RgbImage{};
    error = pictureFitError(options, picture, plan.board);
    if (!error.empty()) {
        return error;
    }
    set = buildPictureSet(std::move(picture), options, plan.board);
    const bool swapped = swapsSides(photo.orientation);
    set.photoWidth = swapped ? photo.storedHeight : photo.storedWidth;
    set.photoHeight = swapped ? photo.storedWidth : photo.storedHeight;
    return "";
}

} // namespace

std::string makePictureSetFromBytes(const unsigned char* bytes, std::size_t length,
                                    const PhotoOptions& options, PictureSet& set) {
    set = PictureSet{};
    try {
        return makeSet(bytes, length, options, set);
    } catch (const std::bad_alloc&) {
        set = PictureSet{};
        return "out of memory";
    }
}

std::string makePictureSet(const char* path, const PhotoOptions& options, PictureSet& set) {
    set = PictureSet{};
    try {
        std::vector<unsigned char> bytes;
        const std::string error = readPhotoFile(path, bytes, PhotoFileKinds::any);
        if (!error.empty()) {
            return error;
        }
        return makePictureSetFromBytes(bytes.data(), bytes.size(), options, set);
    } catch (const std::bad_alloc&) {
        return "out of memory";
    }
}

} // namespace tessera
