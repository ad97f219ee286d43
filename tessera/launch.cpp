#include "tessera/launch.h"

#include "program/output_target.h"
#include "program/replay_picture.h"
#include "replay/picture_checksum.h"
#include "replay/replay_reader.h"
#include "replay/replay_writer.h"
#include "session/photo_turn.h"
#include "tessera/shared_board.h"

#include <cstdio>
#include <random>
#include <utility>

namespace tessera {

Launch::Launch(CommandLine& options) : options(options) {}

Launch::~Launch() = default;

std::string Launch::check(int& status) {
    status = 255;
    if (replaying()) {
        // The whole file is read once first: a bad one never half plays.
        if (std::string error = checkReplayFile(options.replay, header); !error.empty()) {
            return error;
        }
        if (std::string error =
                replayPicture(header, options.replay, options.picture,
                              "name where it is after the recording: tessera --replay " +
                                  options.replay + " PICTURE",
                              executablePath(), picture);
            !error.empty()) {
            return error;
        }
        options.photo = header.photo;
    } else if (options.photos.empty()) {
        picture = choosePicture(options.picture, executablePath());
    }
    std::shared_ptr<PhotoFolder> folder;
    if (!options.photos.empty()) {
        folder = std::make_shared<PhotoFolder>(
            options.photos, options.shuffle ? PhotoFolder::Shuffled : PhotoFolder::NameOrder,
            std::random_device{}());
        photoTurn = std::make_unique<PhotoTurn>(folder, options.photo);
    }
    if (folder == nullptr && options.photoOptionsGiven &&
        picture.kind == PictureSource::PictureSetFiles) {
        status = 2;
        return "--regions, --cells, --fit and --max-size shape a photograph; " + picture.path +
               " is not a JPEG or PNG file";
    }
    if (!options.record.empty()) {
        SessionInputs inputs;
        for (const std::string& file : pictureFiles(picture)) {
            inputs.add(file);
        }
        if (std::string error = newFileFault(options.record, inputs); !error.empty()) {
            status = 2;
            return "--record " + error;
        }
    }
    if (options.invite) {
        if (options.inviteFile.empty()) {
            options.inviteFile = shippedDemo(executablePath());
        }
        if (std::string error = checkReplayFile(options.inviteFile, invitation); !error.empty()) {
            return "--invite: " + error;
        }
    }
    if (std::string error = folder != nullptr ? folder->check() : pictureSourceError(picture);
        !error.empty()) {
        return error;
    }
    if (!options.record.empty()) {
        // A recording notes the toolbar it begins with; fingers have one of their own.
        const double toolPixels = options.touch ? TouchInput::toolPixels : 0.0;
        if (std::string error = describeRecording(toolPixels); !error.empty()) {
            return "cannot record: " + error;
        }
        if (std::string error = checkOutputFolder(options.record); !error.empty()) {
            return "cannot record: " + error;
        }
    }
    // Last, so that nothing else can still fail once phones may connect; the address is the
    // command line's, so one that cannot be listened at is its fault.
    if (options.share) {
        shared = std::make_unique<SharedBoard>();
        if (std::string error = shared->start(options.shareAddress, options.shareMax,
                                              options.shareCode, options.touch);
            !error.empty()) {
            status = 2;
            return "--share: " + error;
        }
    }
    return "";
}

// What a recording notes before its events: the picture as the command line gave it, the
// options that shape it and the session, and the checksum of its bytes; the window's size
// is filled in once it is open.
std::string Launch::describeRecording(double leastToolPixels) {
    recording.picturePath = options.picture;
    if (options.picture.empty()) {
        recording.picture = ReplayHeader::DefaultPicture;
    } else if (picture.kind == PictureSource::Photograph) {
        recording.picture = ReplayHeader::Photograph;
        recording.photo = options.photo;
    } else {
        recording.picture = ReplayHeader::PictureSet;
    }
    recording.clearAfterSeconds = options.clearAfterSeconds;
    recording.idleScatterSeconds = options.idleScatterSeconds;
    recording.maxShapes = options.maxShapes;
    recording.referenceDrawing = options.referenceDrawing;
    recording.leastToolPixels = leastToolPixels;
    if (std::string error = replayHeaderError(recording); !error.empty()) {
        return error;
    }
    return checksumFiles(pictureFiles(picture), recording.checksum);
}

std::pair<int, int> Launch::windowSize() const {
    if (options.windowWidth > 0) {
        return {options.windowWidth, options.windowHeight};
    }
    return replaying() ? std::pair(header.width, header.height) : std::pair(640, 480);
}

std::string Launch::prepare() {
    std::string summary;
    std::string error = photoTurn != nullptr ? photoTurn->prepareFirst(summary)
                                             : prepared.prepare(picture, options.photo, summary);
    if (error.empty() && !summary.empty()) {
        std::printf("%s\n", summary.c_str());
    }
    return error;
}

std::string Launch::start(Show& show, int width, int height) {
    show.useKioskKeys(options.kiosk);
    show.useRenderScale(options.renderScale);
    if (options.touch && !replaying()) {
        show.useTouch(TouchInput::defaultSlopPixels, TouchInput::defaultTapPixels, true);
    }
    // A recording replays with the rules and the toolbar it was made with.
    if (replaying()) {
        if (std::string error = show.play(options.replay, header, width, height, options.fast);
            !error.empty()) {
            return error;
        }
    } else {
        ReplayHeader rules;
        rules.clearAfterSeconds = options.clearAfterSeconds;
        rules.idleScatterSeconds = options.idleScatterSeconds;
        rules.maxShapes = options.maxShapes;
        rules.referenceDrawing = options.referenceDrawing;
        rules.leastToolPixels = options.touch ? TouchInput::toolPixels : 0.0;
        show.followRules(rules);
    }
    if (photoTurn != nullptr) {
        photoTurn->showFirst(show.canvas);
        show.usePictureTurn(std::move(photoTurn));
    } else {
        prepared.loadInto(show.canvas);
    }
    if (!options.record.empty()) {
        if (std::string error = show.record(options.record, recording, width, height);
            !error.empty()) {
            return "cannot record: " + error;
        }
    }
    if (options.invite) {
        show.invite(options.inviteFile, invitation, options.inviteAfterSeconds);
    }
    if (shared != nullptr) {
        shared->attach(show);
    }
    return "";
}

} // namespace tessera
