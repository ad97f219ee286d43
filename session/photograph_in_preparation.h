#pragma once

#include "photo/photo_options.h"
#include "photo/picture_set_buffers.h"
#include "session/photo_folder.h"

#include <memory>
#include <string>
#include <vector>

namespace tessera {

// The folder's next photograph, read and decoded on a thread of its own, so that the
// window goes on drawing and answering, and the owner's ways out work, whatever a read or
// a decode is doing. The thread blocks every signal: they reach the window's thread. It is
// never waited for: what it works on is its own (shared with this object), so the program
// may end while it runs.
class PhotographInPreparation {
public:
    // What PhotoFolder::next gives.
    struct Result {
        std::string error;
        std::string path;
        std::string summary;
        std::vector<std::string> skipped;
        PictureSetBuffers buffers;
    };

    // The folder is the thread's while a photograph is under way.
    PhotographInPreparation(std::shared_ptr<PhotoFolder> folder, const PhotoOptions& options);

    // Starts preparing the next photograph; false, doing nothing, while one is under way or
    // is finished but not taken. A thread that cannot be started finishes at once, with why.
    bool start();
    // Moves the finished photograph out: false while it is under way or none was started.
    bool take(Result& result);

private:
    struct Job;
    std::shared_ptr<PhotoFolder> folder;
    PhotoOptions options;
    std::shared_ptr<Job> job;
};

} // namespace tessera
