#include "program/prepared_picture.h"

#include "canvas/canvas.h"
#include "session/photograph.h"

#include <utility>

namespace tessera {

std::string PreparedPicture::prepare(const PictureSource& picture, const PhotoOptions& options,
                                     std::string& summary) {
    source = picture;
    summary.clear();
    if (std::string error = pictureSourceError(source); !error.empty()) {
        return error;
    }
    if (source.kind == PictureSource::Photograph) {
        return preparePhotograph(source.path, options, photograph, summary);
    }
    return "";
}

void PreparedPicture::loadInto(Canvas& canvas) {
    if (source.kind == PictureSource::Photograph) {
        canvas.loadPictureSet(source.path.c_str(), std::move(photograph.picture),
                              std::move(photograph.mask), std::move(photograph.regionMap));
    } else {
        canvas.load(source.path.c_str());
    }
}

} // namespace tessera
