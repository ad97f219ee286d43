#include "program/snapshot.h"

#include "photo/png_writer.h"

#include <GL/gl.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace tessera {
namespace {

std::string snapshotName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "tessera-%04d.png", number);
    return name;
}

} // namespace

RgbImage readFrame(int width, int height, int bottom) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(image.pixelCount() * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, bottom, width, height, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.data());
    // GL's rows run bottom-up, a PNG's top-down.
    const auto row = [&](int y) {
        return image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width * 3;
    };
    for (int y = 0; y < height / 2; ++y) {
        std::swap_ranges(row(y), row(y + 1), row(height - 1 - y));
    }
    return image;
}

std::string saveSnapshot(int width, int height, const std::string& folder, std::string& name) {
    if (width <= 0 || height <= 0) {
        return "the window has no pixels to save";
    }
    const RgbImage image = readFrame(width, height, 0);
    // Written whole first, then linked at the first free name: a reader never sees a
    // half-written snapshot, and a file that is there, or appears meanwhile, is never
    // overwritten.
    AtomicFile out;
    const std::string first = folder + "/" + snapshotName(1);
    if (std::string error = out.create(first); !error.empty()) {
        return error;
    }
    if (std::string error = encodePng(image, out.stream(), PngPacking::Small); !error.empty()) {
        return first + ": " + error;
    }
    for (int number = 1; number < 1000000; ++number) {
        const std::string error =
            out.commitAs(folder + "/" + snapshotName(number), AtomicFile::Replace::Never);
        if (error.empty()) {
            name = snapshotName(number);
            return "";
        }
        if (out.errorNumber() != EEXIST) {
            return error;
        }
    }
    return "no free snapshot name left in " + folder;
}

} // namespace tessera
