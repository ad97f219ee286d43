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

// The box around every triangle of the overlay; all zero where it has none.
struct Box {
    float left = 0, top = 0, right = 0, bottom = 0;
};
Box bounds(const Overlay& overlay) {
    if (overlay.triangles.empty()) {
        return {};
    }
    Box box{1e9f, 1e9f, -1e9f, -1e9f};
    for (const OverlayVertex& v : overlay.triangles) {
        box = {std::min(box.left, v.x), std::min(box.top, v.y), std::max(box.right, v.x),
               std::max(box.bottom, v.y)};
    }
    return box;
}

// The code and its address lie in the window's top right corner, the code about a fifth of
// the shorter side; a window too small for a readable code, or an address no code holds,
// gets nothing at all.
TEST(ShareCode, SitsInTheTopRightCornerOrNowhere) {
    const struct {
        const char* name;
        int width, height;
        bool shown;
    } windows[] = {{"the program's window", 640, 480, true},
                   {"a full HD screen", 1920, 1080, true},
                   {"a portrait tablet", 600, 800, true},
                   {"too small for 3 pixel modules", 190, 190, false}};
    const ShareCode code(address);
    for (const auto& window : windows) {
        SCOPED_TRACE(window.name);
        Overlay overlay;
        code.layInto(overlay, window.width, window.height);
        ASSERT_EQ(!overlay.empty(), window.shown);
        if (!window.shown) {
            continue;
        }
        const Box box = bounds(overlay);
        const float shorter = static_cast<float>(std::min(window.width, window.height));
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= window.width &&
                    box.bottom <= window.height / 2.0f)
            << box.left << ", " << box.top << " to " << box.right << ", " << box.bottom;
        // The code is the first, largest square, in the right half; its address's band hangs
        // below it.
        EXPECT_GE(overlay.triangles[0].x, window.width / 2.0f);
        const float codeSide = overlay.triangles[1].x - overlay.triangles[0].x;
        EXPECT_GE(codeSide, shorter / 6.0f);
        EXPECT_LE(codeSide, shorter / 4.0f);
        EXPECT_GT(box.bottom, overlay.triangles[2].y);
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
        RgbImage image;
        image.width = screen.width;
        image.height = screen.height;
        std::vector<unsigned char> rgba(image.pixelCount() * 4);
        glReadPixels(0, 0, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        for (int y = image.height - 1; y >= 0; --y) {
            for (int x = 0; x < image.width; ++x) {
                const unsigned char* p = &rgba[(static_cast<std::size_t>(y) * image.width + x) * 4];
                image.pixels.insert(image.pixels.end(), p, p + 3);
            }
        }
        const std::string file = dir.path("screen.png");
        ASSERT_EQ(writePng(image, file), "");
        EXPECT_EQ(readCodes(file), std::string(screen.address) + "\n");
    }
}

} // namespace
} // namespace tessera
