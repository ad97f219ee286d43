#include "tessera/shared_board.h"

#include "session/show.h"

#include <cstdio>
#include <cstdlib>

namespace tessera {
namespace {

// The show whose phones' latency is told when the program ends, however it ends.
const Show* toldAtExit = nullptr;

void tellLatency() {
    const BrushLatency& latency = toldAtExit->brushLatency();
    if (latency.count() > 0) {
        std::printf("phones: %llu events shown, from arrival to the frame median %.1f ms, 99th "
                    "percentile %.1f ms\n",
                    static_cast<unsigned long long>(latency.count()), latency.percentile(0.5),
                    latency.percentile(0.99));
    }
}

} // namespace

std::string SharedBoard::start(const ShareAddress& address, int maxPhones, bool showCode,
                               bool fingerControls) {
    if (std::string error = server.start(address, maxPhones); !error.empty()) {
        return error;
    }
    page = server.pageAddress();
    if (showCode) {
        code = std::make_unique<ShareCode>(page);
        corner = fingerControls ? ShareCode::Corner::TopLeft : ShareCode::Corner::TopRight;
    }
    std::printf("phones paint at %s\n", page.c_str());
    return "";
}

void SharedBoard::attach(Show& show) {
    show.useBrushes([this, &show](std::vector<BrushEvent>& arrived) {
        keepPicture(show);
        server.takeEvents(arrived);
    });
    if (toldAtExit == nullptr) {
        toldAtExit = &show;
        std::atexit(tellLatency);
    }
    if (code != nullptr) {
        show.useCorner([this](Overlay& overlay, int width, int height) {
            code->layInto(overlay, width, height, corner);
        });
    }
}

// A gallery's next photograph reaches the phones at the step after it is shown.
void SharedBoard::keepPicture(const Show& show) {
    const Canvas& canvas = show.canvas;
    if (canvas.picturePixels.empty() ||
        (canvas.picturePixels.data() == sentPixels && canvas.boardWidth == sentWidth &&
         canvas.boardHeight == sentHeight)) {
        return;
    }
    sentPixels = canvas.picturePixels.data();
    sentWidth = canvas.boardWidth;
    sentHeight = canvas.boardHeight;
    if (std::string error =
            server.setPicture(canvas.picturePixels.data(), canvas.pictureWidth,
                              canvas.pictureHeight, canvas.boardWidth, canvas.boardHeight);
        !error.empty()) {
        std::fprintf(stderr, "tessera: the phones keep the last picture: %s\n", error.c_str());
    }
}

} // namespace tessera
