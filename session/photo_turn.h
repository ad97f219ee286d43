#pragma once

#include "photo/photo_options.h"
#include "photo/picture_set_buffers.h"
#include "session/photo_folder.h"
#include "session/photograph_in_preparation.h"
#include "session/show.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tessera {

// A gallery's folder of photographs taking turns on the board. After each clear the next
// photograph is prepared off the show's thread, and shown once it is finished and the board
// has no shapes; one somebody painted on meanwhile waits for the next clear. A folder with
// none left that can be read keeps the picture: the show goes on.
class PhotoTurn : public PictureTurn {
public:
    PhotoTurn(std::shared_ptr<PhotoFolder> folder, const PhotoOptions& options);

    // The folder's first photograph, made before the window opens and shown with show();
    // each one that cannot be read is named as it is passed over.
    std::string prepareFirst(std::string& summary);
    void showFirst(Canvas& canvas);

    void follow(Canvas& canvas, bool inviting) override;

private:
    std::shared_ptr<PhotoFolder> folder;
    PhotoOptions options;
    PictureSetBuffers first;
    std::string firstPath;
    std::unique_ptr<PhotographInPreparation> preparing;
    // The clears already answered with the next photograph, and a finished one waiting for a
    // board without shapes.
    std::uint64_t clearsAnswered = 0;
    std::optional<PhotographInPreparation::Result> finished;
    // Why the picture stayed, as last said: a folder left with nothing to show says so once,
    // not at every clear of a month's show, until a photograph is shown again.
    std::string pictureStaysBecause;
};

} // namespace tessera
