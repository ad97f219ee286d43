#include "canvas_fixture.h"
#include "photo/png_writer.h"
#include "share/share_code.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tessera {
namespace {

// A loaded board in the program's renderer, to draw the code over.
class ShareCodeOnScreen : public test::CanvasTest {};

const char* const address = "http://192.168.1.20:8080/";

// The code and its address lie in the window's top right corner, the code about a fifth of
// the shorter side; a window too small for a readable code, or an address no code holds,
// gets nothing at all.
TEST(ShareCode, SitsInTheTopRightCornerOrNowhere) {
    const struct {
        int width, height;
        bool shown;
    } windows[] = {{640, 480, true}, {1920, 1080, true}, {600, 800, true}, {190, 190, false}};
    for (const auto& window : windows) {
        SCOPED_TRACE(std::to_string(window.width) + " x " + std::to_string(window.height));
        Overlay overlay;
        ShareCode(address).layInto(overlay, window.width, window.height);
        ASSERT_EQ(!overlay.empty(), window.shown);
        float left = 1e9f, top = 1e9f, right = 0, bottom = 0;
        for (const OverlayVertex& v : overlay.triangles) {
            left = std::min(left, v.x), top = std::min(top, v.y);
            right = std::max(right, v.x), bottom = std::max(bottom, v.y);
        }
        EXPECT_TRUE(!window.shown || (left >= 0 && top >= 0 && right <= window.width &&
                                      bottom <= window.height / 2.0f))
            << left << ", " << top << " to " << right << ", " << bottom;
        // The code is the first, largest square, in the right half; the address hangs below.
        if (window.shown) {
            const float shorter = static_cast<float>(std::min(window.width, window.height));
            const float side = overlay.triangles[1].x - overlay.triangles[0].x;
            EXPECT_GE(overlay.triangles[0].x, window.width / 2.0f);
            EXPECT_TRUE(side >= shorter / 6.0f && side <= shorter / 4.0f) << side;
            EXPECT_GT(bottom, overlay.triangles[2].y);
        }
    }
    Overlay overlay;
    ShareCode("").layInto(overlay, 1920, 1080);
    ShareCode(std::string(4000, 'a')).layInto(overlay, 1920, 1080);
    EXPECT_TRUE(overlay.empty());
}

// What zbarimg reads off the PNG file, a line a symbol.
std::string readCodes(const std::string& file) {
    std::string read;
    if (FILE* out = popen(("zbarimg --quiet --raw '" + file + "' 2>/dev/null").c_str(), "r")) {
        char chunk[256];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, out)) > 0;) {
            read.append(chunk, n);
        }
        pclose(out);
    }
    return read;
}

// Drawn over the board by the program's renderer, the code reads back as the address.
TEST_F(ShareCodeOnScreen, AReaderGetsTheAddressBackOffTheScreen) {
    if (std::system("command -v zbarimg >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
    }
    load();
    const struct {
        const char* address;
        int width, height;
    } screens[] = {{address, 640, 480},
                   {address, 1920, 1080},
                   {"http://[fe80::1c2a:3bff:fe4d:5e6f]:8080/", 640, 480}};
    for (const auto& screen : screens) {
        SCOPED_TRACE(std::to_string(screen.width) + " x " + std::to_string(screen.height));
        ASSERT_TRUE(gl.resize(screen.width, screen.height));
        canvas.setProjection(0, 0, screen.width, screen.height);
        canvas.overlay = Overlay();
        ShareCode(screen.address).layInto(canvas.overlay, screen.width, screen.height);
        canvas.showFrame(screen.width, screen.height);
        // Rows from the top, as the file has them; OpenGL counts them from the bottom.
        RgbImage image{std::vector<std::uint8_t>(std::size_t{3} * screen.width * screen.height),
                       screen.width, screen.height};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        for (int y = 0; y < image.height; ++y) {
            glReadPixels(0, image.height - 1 - y, image.width, 1, GL_RGB, GL_UNSIGNED_BYTE,
                         &image.pixels[std::size_t{3} * y * image.width]);
        }
        const std::string file = dir.path("screen.png");
        ASSERT_EQ(writePng(image, file), "");
        EXPECT_EQ(readCodes(file), std::string(screen.address) + "\n");
    }
}

} // namespace
} // namespace tessera
