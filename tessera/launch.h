#pragma once

#include "program/picture_source.h"
#include "program/prepared_picture.h"
#include "replay/replay_header.h"
#include "session/show.h"
#include "tessera/command_line.h"

#include <memory>
#include <string>
#include <utility>

namespace tessera {

class PhotoTurn;
class SharedBoard;

// What the command line asks the program to show, checked and made ready in the order a
// person is told what is wrong: the recording, the picture's files and the recording to be
// made before the display is looked for, and the display before a photograph is decoded.
// Each step returns "" or what is wrong, with the exit status in status.
class Launch {
public:
    explicit Launch(CommandLine& options);
    ~Launch();

    // Before the display is looked for.
    std::string check(int& status);
    // Once the display answers: the picture decoded, and what was made of it said.
    std::string prepare();
    // Once the window of width x height is open: the show set up on its picture.
    std::string start(Show& show, int width, int height);

    bool replaying() const { return !options.replay.empty(); }
    // The size of a window that is not full screen: as given, else a replay's recorded one,
    // else 640 x 480.
    std::pair<int, int> windowSize() const;

private:
    std::string describeRecording(double leastToolPixels);

    CommandLine& options;
    ReplayHeader header;
    PictureSource picture;
    PreparedPicture prepared;
    std::unique_ptr<PhotoTurn> photoTurn;
    std::unique_ptr<SharedBoard> shared;
    ReplayHeader recording;
    ReplayHeader invitation;
};

} // namespace tessera
