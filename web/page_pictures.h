#pragma once

#include "canvas/canvas.h"
#include "photo/photo_options.h"
#include "photo/picture_set.h"
#include "replay/replay_header.h"
#include "session/show.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessera {

// The pictures the page can show, and what a recording of each says: the default picture
// set (which the page puts in the module's file system before start), the default
// photograph it was made from, made again at a screen's shape far from 4:3, and a photograph
// of the person's own, decoded by the browser. Each returns "" or what is wrong.
class PagePictures {
public:
    // The default photograph as the browser decoded it, RGBA rows top to bottom.
    void keepDefaultPhoto(const unsigned char* rgba, int width, int height);
    // The default picture: the set, or with options.shape above 0 the default photograph
    // made as they say.
    std::string showDefault(Canvas& canvas, const PhotoOptions& options);
    // The default picture made again at the screen's new shape, while nothing would be lost
    // (no shapes, no replay or recording, no photograph of the person's own). False when it
    // was not, with what went wrong (if anything) in said.
    bool reshapeDefault(Show& show, double shape, std::string& said);

    // The person's photograph to start on, from the file at path called fileName, and one
    // shown now in place of the picture: true with the summary of what was made of it in
    // said, or false with what is wrong.
    bool keepStartPhoto(const unsigned char* rgba, int width, int height, int photoWidth,
                        int photoHeight, const char* fileName, const char* path, std::string& said);
    bool showPhoto(Canvas& canvas, const unsigned char* rgba, int width, int height, int photoWidth,
                   int photoHeight, const char* name, std::string& said);
    // The picture a show starts on: the person's photograph, unless it replays, or the default
    // picture made as picture says. Loaded once only: each load builds the toolbar, whose
    // shapes draw from the random sequence that a replay of the recording starts afresh.
    std::string showFirst(Show& show, const PhotoOptions& picture);
    // The scale (at most 1) to which the browser may shrink a width x height photograph before
    // handing it over, so that the picture made from it is as large as from the whole.
    static double photoScale(int width, int height);

    // The show started on its picture: with a replay's path (the file called name), the
    // picture it was recorded on, else the person's photograph or the default picture at
    // shape; with record, recorded into recordingPath.
    std::string start(Show& show, int width, int height, const char* replay, const char* name,
                      bool fast, bool record, double shape, const char* recordingPath);
    // Why a photograph named name cannot become the board of the show now, or "".
    std::string photoRefusal(const Show& show, const char* name) const;
    // Sets the show up to play the recording at path, called name, in a window of width x
    // height; picture then says how its default picture is made.
    std::string openReplay(Show& show, const char* path, const char* name, int width, int height,
                           bool fast, PhotoOptions& picture) const;
    // Records the show from its start into path, noting the picture shown.
    std::string startRecording(Show& show, const char* path, int width, int height) const;
    // What keeps the recording at path, called name, from playing on this page (the checks a
    // replay passes before it starts, which fill header), or "".
    std::string recordingFault(const std::string& path, const std::string& name,
                               ReplayHeader& header) const;

private:
    std::string describeRecording(ReplayHeader& header) const;
    std::string checkReplayPicture(const ReplayHeader& header) const;

    std::vector<unsigned char> defaultPixels;
    int defaultWidth = 0;
    int defaultHeight = 0;
    double madeAtShape = 0.0;
    struct StartPhoto {
        PictureSet set;
        std::string name;
        std::uint64_t checksum = 0;
    };
    std::unique_ptr<StartPhoto> startPhoto;
};

// How the default photograph is made the board at a shape.
PhotoOptions defaultPhotoOptions(double shape);

} // namespace tessera
