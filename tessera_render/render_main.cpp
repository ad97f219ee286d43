// tessera-render: plays a recorded session into an offscreen Mesa context, with no display,
// through the same dispatcher and Canvas as the program, and writes what the window showed
// as PNG files. One frame is drawn after every idle step, as the program draws one.
#include "canvas/canvas.h"
#include "photo/png_writer.h"
#include "program/init_graphics.h"
#include "program/output_target.h"
#include "program/picture_source.h"
#include "program/prepared_picture.h"
#include "program/replay_picture.h"
#include "program/snapshot.h"
#include "program/version.h"
#include "replay/picture_checksum.h"
#include "replay/replay_playback.h"
#include "replay/replay_reader.h"
#include "session/input_dispatcher.h"
#include "session/replay_at_size.h"
#include "stage/clock.h"
#include "stage/stage.h"
#include "tessera_render/largest_window.h"
#include "tessera_render/offscreen_context.h"
#include "tessera_render/render_command_line.h"
#include "tessera_render/stale_temporaries.h"
#include "tessera_render/video_container.h"
#include "tessera_render/video_render.h"

#include <GL/gl.h>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

int fail(const std::string& message, int status = 255) {
    std::fprintf(stderr, "tessera-render: %s\n", message.c_str());
    return status;
}

int usageFault(const std::string& message) {
    std::fprintf(stderr, "tessera-render: %s\n%s", message.c_str(),
                 tessera::renderUsageText().c_str());
    return 2;
}

void drawFrame(tessera::Canvas& canvas, const tessera::InputDispatcher& dispatcher) {
    canvas.showFrame(dispatcher.width(), dispatcher.height());
    glFlush();
}

std::string framePath(const std::string& folder, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", number);
    return (std::filesystem::path(folder) / name).string();
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    tessera::RenderCommandLine options;
    std::string usageError = tessera::parseRenderCommandLine(argc - 1, argv + 1, options);
    if (usageError.empty() && !options.video.empty()) {
        usageError = tessera::videoContainerError(options.video);
    }
    if (!usageError.empty()) {
        std::fprintf(stderr, "tessera-render: %s\n%s", usageError.c_str(),
                     tessera::renderUsageText().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(tessera::renderUsageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tessera-render %s\n", TESSERA_VERSION);
        return 0;
    }
    std::string encoder;
    if (!options.video.empty() && (encoder = tessera::findVideoEncoder()).empty()) {
        return tessera::missingProgramStatus;
    }
    tessera::ReplayHeader header;
    if (std::string error = tessera::checkReplayFile(options.replay, header); !error.empty()) {
        return fail(error);
    }
    tessera::PictureSource picture;
    if (std::string error = tessera::replayPicture(header, options.replay, options.picture,
                                                   "name where it is with --picture PICTURE",
                                                   tessera::executablePath(), picture);
        !error.empty()) {
        return fail(error);
    }
    // No output replaces what the session reads; and before anything is played, the
    // outputs' folders are known to take a file.
    tessera::SessionInputs inputs;
    inputs.add(options.replay);
    for (const std::string& file : tessera::pictureFiles(picture)) {
        inputs.add(file);
    }
    const std::string firstFrame = options.frames.empty() ? "" : framePath(options.frames, 1);
    for (const std::string& output : {options.snapshot, firstFrame, options.video}) {
        if (std::string fault = tessera::outputFault(output, inputs); !fault.empty()) {
            return usageFault(fault);
        }
    }
    if (!options.frames.empty()) {
        std::error_code failed;
        std::filesystem::create_directories(options.frames, failed);
        if (failed) {
            return fail(options.frames + ": " + failed.message());
        }
    }
    for (const std::string& output : {options.snapshot, firstFrame, options.video}) {
        if (output.empty()) {
            continue;
        }
        if (std::string error = tessera::checkOutputFolder(output); !error.empty()) {
            return fail(error);
        }
    }
    // A video takes long enough to be killed on the way, and a temporary large enough to
    // matter: those left by a run that is gone go now.
    if (!options.video.empty()) {
        for (const std::string& removed : tessera::removeStaleTemporaries(options.video)) {
            std::fprintf(stderr, "tessera-render: removed %s, left by a run that was killed\n",
                         removed.c_str());
        }
    }
    tessera::PreparedPicture prepared;
    std::string summary;
    if (std::string error = prepared.prepare(picture, header.photo, summary); !error.empty()) {
        return fail(error);
    }
    if (!summary.empty()) {
        std::printf("%s\n", summary.c_str());
    }
    tessera::ReplayPlayback playback;
    if (std::string error = playback.open(options.replay); !error.empty()) {
        return fail(error);
    }

    // Every frame at the asked size, or each at the size the window had then. Each is drawn
    // into one buffer of the largest size: Mesa would keep a buffer for every size.
    const bool sized = options.width > 0;
    tessera::ReplayAtSize size(header.width, header.height, sized ? options.width : header.width,
                               sized ? options.height : header.height);
    int bufferWidth = size.width();
    int bufferHeight = size.height();
    if (!sized && options.video.empty()) {
        if (std::string error = tessera::largestWindow(options.replay, bufferWidth, bufferHeight);
            !error.empty()) {
            return fail(error);
        }
    }
    tessera::OffscreenContext context;
    if (!context.reserve(bufferWidth, bufferHeight) ||
        !context.resize(size.width(), size.height())) {
        return fail("cannot make an offscreen OpenGL context");
    }
    tessera::VirtualClock heldClock;
    tessera::Stage::instance()->setClock(&heldClock);
    tessera::initGraphics();
    tessera::Canvas canvas;
    tessera::InputDispatcher dispatcher(canvas, heldClock);
    canvas.clearAfterSeconds = header.clearAfterSeconds;
    canvas.idleScatterSeconds = header.idleScatterSeconds;
    canvas.maxShapes = static_cast<std::size_t>(header.maxShapes);
    canvas.referenceDrawing = header.referenceDrawing;
    canvas.leastToolPixels = header.leastToolPixels;
    canvas.windowBottom = context.frameBottom();
    prepared.loadInto(canvas);
    if (!options.video.empty()) {
        const std::string error = tessera::renderVideo(options.replay, encoder, options.video,
                                                       playback, size, dispatcher, canvas, context);
        return error.empty() ? 0 : fail(error);
    }

    int frame = 0;
    int written = 0;
    tessera::InputEvent event;
    std::string error;
    while (playback.next(event, error)) {
        if (event.kind == tessera::InputEvent::Reshape && !sized) {
            size.resize(event.width, event.height);
        }
        event = size.map(event, canvas);
        if (event.kind == tessera::InputEvent::Reshape) {
            if (!context.resize(event.width, event.height)) {
                return fail("cannot make an offscreen buffer of " + std::to_string(event.width) +
                            " x " + std::to_string(event.height));
            }
            canvas.windowBottom = context.frameBottom();
        }
        dispatcher.deliver(event);
        if (event.kind != tessera::InputEvent::Idle) {
            continue;
        }
        ++frame;
        drawFrame(canvas, dispatcher);
        if (!options.frames.empty() && (frame - 1) % options.every == 0) {
            const tessera::RgbImage image =
                tessera::readFrame(context.width(), context.height(), context.frameBottom());
            ++written;
            const std::string path = framePath(options.frames, written);
            if (std::string fault = tessera::outputFault(path, inputs); !fault.empty()) {
                return fail(fault, 2);
            }
            if (std::string failure = tessera::writePng(image, path, tessera::PngPacking::Quick);
                !failure.empty()) {
                return fail(failure);
            }
        }
    }
    if (!error.empty()) {
        return fail(error);
    }
    if (!options.frames.empty()) {
        std::printf("wrote %d frames to %s\n", written, options.frames.c_str());
    }
    if (!options.snapshot.empty()) {
        drawFrame(canvas, dispatcher);
        const tessera::RgbImage image =
            tessera::readFrame(context.width(), context.height(), context.frameBottom());
        if (std::string failure = tessera::writePng(image, options.snapshot); !failure.empty()) {
            return fail(failure);
        }
        std::printf("wrote %s (%d x %d, frame %d)\n", options.snapshot.c_str(), image.width,
                    image.height, frame);
    }
    return 0;
}
