// tessera-render: plays a recorded session into an offscreen Mesa context, with no display,
// through the same dispatcher and Canvas as the program, and writes what the window showed
// as PNG files. One frame is drawn after every idle step, as the program draws one.
#include "app/canvas.h"
#include "app/clock.h"
#include "app/init_graphics.h"
#include "app/input_dispatcher.h"
#include "app/offscreen_context.h"
#include "app/picture_source.h"
#include "app/prepared_picture.h"
#include "app/render_command_line.h"
#include "app/replay_picture.h"
#include "app/replay_playback.h"
#include "app/replay_reader.h"
#include "app/snapshot.h"
#include "app/stage.h"
#include "photo/png_writer.h"

#include <GL/gl.h>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "tessera-render: %s\n", message.c_str());
    return 255;
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
    if (std::string error = tessera::parseRenderCommandLine(argc - 1, argv + 1, options);
        !error.empty()) {
        std::fprintf(stderr, "tessera-render: %s\n%s", error.c_str(),
                     tessera::renderUsageText().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(tessera::renderUsageText().c_str(), stdout);
        return 0;
    }
    tessera::ReplayHeader header;
    if (std::string error = tessera::checkReplayFile(options.replay, header); !error.empty()) {
        return fail(error);
    }
    tessera::PictureSource picture;
    if (std::string error =
            tessera::replayPicture(header, options.picture, tessera::executablePath(), picture);
        !error.empty()) {
        return fail(error);
    }
    tessera::PreparedPicture prepared;
    std::string summary;
    if (std::string error = prepared.prepare(picture, header.photo, summary); !error.empty()) {
        return fail(error);
    }
    if (!summary.empty()) {
        std::printf("%s\n", summary.c_str());
    }
    if (!options.frames.empty()) {
        std::error_code failed;
        std::filesystem::create_directories(options.frames, failed);
        if (failed) {
            return fail(options.frames + ": " + failed.message());
        }
    }
    tessera::ReplayPlayback playback;
    if (std::string error = playback.open(options.replay); !error.empty()) {
        return fail(error);
    }

    tessera::OffscreenContext context;
    if (!context.resize(header.width, header.height)) {
        return fail("cannot make an offscreen OpenGL context");
    }
    tessera::VirtualClock heldClock;
    tessera::Stage::instance()->setClock(&heldClock);
    tessera::initGraphics();
    tessera::Canvas canvas;
    tessera::InputDispatcher dispatcher(canvas, heldClock);
    canvas.clearAfterSeconds = header.clearAfterSeconds;
    canvas.maxShapes = static_cast<std::size_t>(header.maxShapes);
    canvas.referenceDrawing = header.referenceDrawing;
    prepared.loadInto(canvas);

    int frame = 0;
    int written = 0;
    tessera::InputEvent event;
    std::string error;
    while (playback.next(event, error)) {
        dispatcher.deliver(event);
        if (event.kind == tessera::InputEvent::Reshape &&
            (event.width != context.width() || event.height != context.height()) &&
            !context.resize(event.width, event.height)) {
            return fail("cannot make an offscreen buffer of " + std::to_string(event.width) +
                        " x " + std::to_string(event.height));
        }
        if (event.kind != tessera::InputEvent::Idle) {
            continue;
        }
        ++frame;
        drawFrame(canvas, dispatcher);
        if (!options.frames.empty() && (frame - 1) % options.every == 0) {
            const tessera::RgbImage image = tessera::readFrame(context.width(), context.height());
            ++written;
            if (std::string failure = tessera::writePng(image, framePath(options.frames, written),
                                                        tessera::PngPacking::Quick);
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
        const tessera::RgbImage image = tessera::readFrame(context.width(), context.height());
        if (std::string failure = tessera::writePng(image, options.snapshot); !failure.empty()) {
            return fail(failure);
        }
        std::printf("wrote %s (%d x %d, frame %d)\n", options.snapshot.c_str(), image.width,
                    image.height, frame);
    }
    return 0;
}
