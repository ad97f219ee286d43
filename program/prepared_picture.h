#pragma once

#include "photo/photo_options.h"
#include "photo/picture_set_buffers.h"
#include "program/picture_source.h"

#include <string>

namespace tessera {

class Canvas;

// The picture made ready before any window opens: a photograph is made into a picture set
// in memory here; a picture set's files are read by the Canvas's load.
class PreparedPicture {
public:
    // Returns an empty string, with summary saying what a photograph became (empty for a
    // set), or one line saying why the picture cannot be shown.
    std::string prepare(const PictureSource& source, const PhotoOptions& options,
                        std::string& summary);
    // Needs a current GL context. A picture set that cannot be read ends the program.
    void loadInto(Canvas& canvas);

private:
    PictureSource source;
    PictureSetBuffers photograph;
};

} // namespace tessera
