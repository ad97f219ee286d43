#include "app/prepared_picture.h"

#include "app/canvas.h"
#include "app/photograph.h"

#include <utility>

namespace tessera {

std::string PreparedPicture::prepare(const PictureSource& picture, const PhotoOptions& options,
                                     std::string& summary) {
    source = picture;
    summary.clear();
    if (source.kind == PictureSource::OtherFile) {
        return source.path +
               ": not a JPEG or PNG photograph (a picture set is named by the common prefix of "
               "its files, as in data/fruit)";
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
