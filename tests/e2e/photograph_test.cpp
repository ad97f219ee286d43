#include "photo/png_writer.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

// A 4:3 photograph in four colours: red top left, green top right, blue bottom left,
// yellow bottom right.
RgbImage quadrantPhotograph() {
    RgbImage photo;
    photo.width = 160;
    photo.height = 120;
    for (int y = 0; y < photo.height; ++y) {
        for (int x = 0; x < photo.width; ++x) {
            const bool right = x >= 80;
            const bool bottom = y >= 60;
            const std::uint8_t red = (!right && !bottom) || (right && bottom) ? 230 : 20;
            const std::uint8_t green = right ? 210 : 20;
            const std::uint8_t blue = !right && bottom ? 220 : 20;
            photo.pixels.insert(photo.pixels.end(), {red, green, blue});
        }
    }
    return photo;
}

TEST(Photograph, GivenOnTheCommandLineItIsMadeIntoASetAndShownAtOnce) {
    ProgramUnderX program;
    ASSERT_EQ(writePng(quadrantPhotograph(), program.pictures().path("four.png")), "");
    program.start({"--window", "four.png", "--regions", "4", "--cells=16x12"});

    ASSERT_TRUE(program.waitForOutputLines(1)) << program.errors();
    EXPECT_EQ(program.outputLines()[0],
              "four.png: 160 x 120 picture from a 160 x 120 photograph, 16 x 12 cells, 4 regions");
    // Each quadrant of the board, well away from the edges between them and the toolbar.
    const struct {
        const char* name;
        ScreenRegion area;
        Rgb colour;
    } quadrants[] = {{"red", {120, 80, 210, 170}, {230, 20, 20}},
                     {"green", {430, 80, 520, 170}, {20, 210, 20}},
                     {"blue", {120, 310, 210, 400}, {20, 20, 220}},
                     {"yellow", {430, 310, 520, 400}, {230, 210, 20}}};
    const auto showsQuadrants = [&](const ScreenImage& shot) {
        for (const auto& q : quadrants) {
            if (!isNear(meanColour(shot, q.area), q.colour, 8)) {
                return false;
            }
        }
        return true;
    };
    ScreenImage shot;
    EXPECT_TRUE(program.waitForScreen(showsQuadrants, shot, ProgramUnderX::startTimeout))
        << meanColour(shot, quadrants[0].area) << " " << meanColour(shot, quadrants[1].area) << " "
        << meanColour(shot, quadrants[2].area) << " " << meanColour(shot, quadrants[3].area);
}

TEST(Photograph, OneThatCannotBeDecodedEndsTheProgramWithItsReason) {
    ProgramUnderX program;
    program.pictures().write("broken.png", std::string("\x89PNG\r\n\x1a\n", 8) + "cut short");
    program.start({"broken.png"});

    EXPECT_EQ(program.waitForExit(), 255);
    EXPECT_EQ(program.errors().rfind("tessera: broken.png: ", 0), 0u) << program.errors();
}

} // namespace
} // namespace tessera
