#include "app/snapshot.h"

#include "photo/png_writer.h"

#include <GL/gl.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tessera {
namespace {

std::string snapshotName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "tessera-%04d.png", number);
    return name;
}

// Takes the first free name by creating the file: another program, or a file that
// appears meanwhile, can never be overwritten.
std::string reserveName(const std::string& folder, std::string& name) {
    for (int number = 1; number < 1000000; ++number) {
        const std::string path = folder + "/" + snapshotName(number);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            close(fd);
            name = snapshotName(number);
            return "";
        }
        if (errno != EEXIST) {
            return path + ": " + std::strerror(errno);
        }
    }
    return "no free snapshot name left in " + folder;
}

} // namespace

RgbImage readFrame(int width, int height) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(image.pixelCount() * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.data());
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
    const RgbImage image = readFrame(width, height);
    std::string reserved;
    if (std::string error = reserveName(folder, reserved); !error.empty()) {
        return error;
    }
    const std::string path = folder + "/" + reserved;
    if (std::string error = writePng(image, path); !error.empty()) {
        return error;
    }
    name = reserved;
    return "";
}

} // namespace tessera
