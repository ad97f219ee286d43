#include "photo/image_decoder.h"
#include "photo/picture_set.h"
#include "photo/picture_set_files.h"
#include "tools/tessera_set/tool_options.h"

#include <cstdio>
#include <new>
#include <string>
#include <utility>

namespace {

// Command-line mistakes end with status 2, problems with files with status 1.
int fail(const std::string& message, int status = 1) {
    std::fprintf(stderr, "tessera-set: %s\n", message.c_str());
    return status;
}

// Checks that the requested regions and grid make sense for this picture.
std::string checkAgainstPicture(const tessera::ToolOptions& options,
                                const tessera::RgbImage& image) {
    if (static_cast<std::size_t>(options.regions) > image.pixelCount()) {
        return "--regions " + std::to_string(options.regions) + " is more than the " +
               std::to_string(image.pixelCount()) + " pixels of " + options.input;
    }
    if (options.cellsAcross > image.width || options.cellsDown > image.height) {
        return "--cells " + std::to_string(options.cellsAcross) + "x" +
               std::to_string(options.cellsDown) + " does not fit " + options.input +
               ", which is " + std::to_string(image.width) + " x " + std::to_string(image.height) +
               " pixels";
    }
    return "";
}

int run(int argc, char** argv) {
    tessera::ToolOptions options;
    const std::string usageError = tessera::parseToolOptions(argc - 1, argv + 1, options);
    if (!usageError.empty()) {
        return fail(usageError, 2);
    }
    if (options.help) {
        std::fputs(tessera::usageText().c_str(), stdout);
        return 0;
    }
    tessera::RgbImage image;
    const std::string decodeError = tessera::decodeImage(options.input.c_str(), image);
    if (!decodeError.empty()) {
        return fail(options.input + ": " + decodeError);
    }
    const std::string fitError = checkAgainstPicture(options, image);
    if (!fitError.empty()) {
        return fail(fitError);
    }
    const tessera::PictureSet set = tessera::buildPictureSet(
        std::move(image), options.regions, options.cellsAcross, options.cellsDown);
    const std::string writeError = tessera::writePictureSet(options.name, set);
    if (!writeError.empty()) {
        return fail(writeError);
    }
    const char* name = options.name.c_str();
    std::printf("tessera-set: wrote %s.ppm (%d x %d), %s_mask.pgm (%d x %d), %s.map (%d %s)\n",
                name, set.picture.width, set.picture.height, name, set.maskWidth, set.maskHeight,
                name, options.regions, options.regions == 1 ? "region" : "regions");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        return fail("out of memory");
    }
}
