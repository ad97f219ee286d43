#include "session/photo_turn.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace tessera {

namespace {

void reportSkipped(const std::vector<std::string>& skipped) {
    for (const std::string& line : skipped) {
        std::fprintf(stderr, "tessera: %s; skipped\n", line.c_str());
    }
}

void showPhotograph(Canvas& canvas, const std::string& path, PictureSetBuffers& buffers) {
    canvas.loadPictureSet(path.c_str(), std::move(buffers.picture), std::move(buffers.mask),
                          std::move(buffers.regionMap));
}

} // namespace

PhotoTurn::PhotoTurn(std::shared_ptr<PhotoFolder> folder, const PhotoOptions& options)
    : folder(std::move(folder)), options(options) {}

std::string PhotoTurn::prepareFirst(std::string& summary) {
    std::vector<std::string> skipped;
    std::string error = folder->next(options, first, firstPath, summary, skipped);
    reportSkipped(skipped);
    if (error.empty()) {
        preparing = std::make_unique<PhotographInPreparation>(folder, options);
    }
    return error;
}

void PhotoTurn::showFirst(Canvas& canvas) {
    showPhotograph(canvas, firstPath, first);
}

void PhotoTurn::follow(Canvas& canvas, bool inviting) {
    const bool cleared = canvas.clearCount != clearsAnswered && !inviting;
    if (cleared) {
        clearsAnswered = canvas.clearCount;
        if (!finished) {
            preparing->start();
        }
    }
    if (!finished) {
        PhotographInPreparation::Result result;
        if (!preparing->take(result)) {
            return;
        }
        reportSkipped(result.skipped);
        if (!result.error.empty()) {
            if (result.error != pictureStaysBecause) {
                std::fprintf(stderr, "tessera: %s; the picture stays\n", result.error.c_str());
                pictureStaysBecause = result.error;
            }
            return;
        }
        pictureStaysBecause.clear();
        finished = std::move(result);
    }
    const bool bare = canvas.shapes.empty() && !canvas.buttonHeld() && !inviting;
    if (cleared || bare) {
        std::printf("%s\n", finished->summary.c_str());
        showPhotograph(canvas, finished->path, finished->buffers);
        finished.reset();
    }
}

} // namespace tessera
