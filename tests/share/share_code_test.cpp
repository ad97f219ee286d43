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
class ShareCodeOverTheBoard : public test::CanvasTest {};

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

// In the window's top right (or left) corner, the code about a fifth of the shorter side with the
// address below it, drawn over the board it reads back as the address; a window too small
// for a readable code gets nothing.
TEST_F(ShareCodeOverTheBoard, SitsInItsTopCornerAndReadsBackOrIsNotThere) {
    const bool reader = std::system("command -v zbarimg >/dev/null 2>&1") == 0;
    const std::string ipv4 = "http://192.168.1.20:8080/";
    const struct {
        std::string address;
        int width, height;
        bool shown;
        ShareCode::Corner corner = ShareCode::Corner::TopRight;
    } screens[] = {{ipv4, 640, 480, true},
                   {ipv4, 1920, 1080, true},
                   {ipv4, 1920, 1080, true, ShareCode::Corner::TopLeft},
                   {"http://[fe80::1c2a:3bff:fe4d:5e6f]:8080/", 600, 800, true},
                   {ipv4, 190, 190, false}};
    load();
    for (const auto& screen : screens) {
        SCOPED_TRACE(std::to_string(screen.width) + " x " + std::to_string(screen.height));
        canvas.overlay = Overlay();
        ShareCode(screen.address)
            .layInto(canvas.overlay, screen.width, screen.height, screen.corner);
        const std::vector<OverlayVertex>& laid = canvas.overlay.triangles;
        ASSERT_EQ(!laid.empty(), screen.shown);
        if (!screen.shown) {
            continue;
        }
        float left = 1e9f, top = 1e9f, right = 0, bottom = 0;
        for (const OverlayVertex& v : laid) {
            left = std::min(left, v.x), top = std::min(top, v.y);
            right = std::max(right, v.x), bottom = std::max(bottom, v.y);
        }
        EXPECT_TRUE(left >= 0 && top >= 0 && right <= screen.width && bottom <= screen.height / 2)
            << left << ", " << top << " to " << right << ", " << bottom;
        // The code is the first, largest square, in its corner's half; the address hangs
        // below.
        const float shorter = static_cast<float>(std::min(screen.width, screen.height));
        const float side = laid[1].x - laid[0].x;
        EXPECT_EQ(laid[0].x >= screen.width / 2, screen.corner == ShareCode::Corner::TopRight);
        EXPECT_EQ(right <= screen.width / 2, screen.corner == ShareCode::Corner::TopLeft);
        EXPECT_TRUE(side >= shorter / 6 && side <= shorter / 4) << side;
        EXPECT_GT(bottom, laid[2].y);
        if (!reader) {
            continue;
        }
        ASSERT_TRUE(gl.resize(screen.width, screen.height));
        canvas.setProjection(0, 0, screen.width, screen.height);
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
        EXPECT_EQ(readCodes(file), screen.address + "\n");
    }
    Overlay overlay;
    ShareCode("").layInto(overlay, 1920, 1080);
    ShareCode(std::string(4000, 'a')).layInto(overlay, 1920, 1080);
    EXPECT_TRUE(overlay.empty()) << "from an address no code holds";
    if (!reader) {
        GTEST_SKIP() << "zbarimg (zbar-tools) is not installed: the codes were not read";
    }
}

} // namespace
} // namespace tessera
