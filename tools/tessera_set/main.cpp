#include "photo/make_picture_set.h"
#include "photo/picture_set_files.h"
#include "program/version.h"
#include "tools/tessera_set/tool_options.h"

#include <cstdio>
#include <new>
#include <string>

namespace {

// Command-line mistakes end with status 2, problems with files with status 1.
int fail(const std::string& message, int status = 1) {
    std::fprintf(stderr, "tessera-set: %s\n", message.c_str());
    return status;
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
    if (options.version) {
        std::printf("tessera-set %s\n", TESSERA_VERSION);
        return 0;
    }
    tessera::PictureSet set;
    const std::string makeError =
        tessera::makePictureSet(options.input.c_str(), options.photo, set);
    if (!makeError.empty()) {
        return fail(options.input + ": " + makeError);
    }
    const std::string writeError = tessera::writePictureSet(options.name, set);
    if (!writeError.empty()) {
        return fail(writeError);
    }
    const char* name = options.name.c_str();
    const int regions = options.photo.regions;
    std::printf("tessera-set: wrote %s.ppm (%d x %d), %s_mask.pgm (%d x %d), %s.map (%d %s)\n",
                name, set.picture.width, set.picture.height, name, set.maskWidth, set.maskHeight,
                name, regions, regions == 1 ? "region" : "regions");
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
