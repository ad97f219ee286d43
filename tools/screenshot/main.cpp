// tessera-screenshot: saves what an X display shows as a PNG file.
#include "photo/png_writer.h"
#include "tools/screenshot/x_capture.h"

#include <cstdio>
#include <string>

namespace {

const char* const usage = "usage: tessera-screenshot [--window TITLE] OUT.png\n"
                          "Saves the screen of $DISPLAY, or only the window titled TITLE, as a "
                          "PNG file.\n";

// Command-line mistakes end with status 2, failures to capture or write with status 1.
int fail(const std::string& message, int status = 1) {
    std::fprintf(stderr, "tessera-screenshot: %s\n", message.c_str());
    if (status == 2) {
        std::fputs(usage, stderr);
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    std::string windowTitle;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (argument == "--window") {
            if (i + 1 == argc) {
                return fail("--window needs a window title", 2);
            }
            windowTitle = argv[++i];
        } else if (!argument.empty() && argument[0] == '-') {
            return fail("unknown option " + argument, 2);
        } else if (output.empty()) {
            output = argument;
        } else {
            return fail("more than one output file given", 2);
        }
    }
    if (output.empty()) {
        return fail("no output file given", 2);
    }
    tessera::ScreenImage image;
    const std::string captureError = windowTitle.empty()
                                         ? tessera::captureRoot("", image)
                                         : tessera::captureNamedWindow("", windowTitle, image);
    if (!captureError.empty()) {
        return fail(captureError);
    }
    const std::string writeError = tessera::writePng(image, output);
    if (!writeError.empty()) {
        return fail(writeError);
    }
    std::printf("tessera-screenshot: wrote %s (%d x %d)\n", output.c_str(), image.width,
                image.height);
    return 0;
}
