#include "changed_patch.h"
#include "painting.h"
#include "photo/png_writer.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>

namespace tessera {
namespace {

using namespace std::chrono_literals;

constexpr int screenWidth = 1920;
constexpr int screenHeight = 1080;

// Where a window of at least the board's 4:3 width shows board point (x, y) with the
// camera as it starts: the board's height over about 497 of the window's height (a 45
// degree view from 600 units), centred.
struct Point {
    int x;
    int y;
};
Point shownAt(int width, int height, double x, double y) {
    const double pixelsPerUnit = height / (2.0 * 600.0 * std::tan(22.5 * M_PI / 180.0));
    return {static_cast<int>(std::lround(width / 2.0 + (x - 320.0) * pixelsPerUnit)),
            static_cast<int>(std::lround(height / 2.0 + (240.0 - y) * pixelsPerUnit))};
}

// The same for a board of any shape: it fills the window as a 480-unit-tall board fills one
// of its own shape, by its height or, in a narrower window, by its width.
Point shownOnBoardAt(int width, int height, int boardWidth, int boardHeight, double x, double y) {
    const double view = 2.0 * 600.0 * std::tan(22.5 * M_PI / 180.0) / 480.0;
    const double pixelsPerUnit =
        std::min(height / (view * boardHeight), width / (view * boardWidth));
    return {static_cast<int>(std::lround(width / 2.0 + (x - boardWidth / 2.0) * pixelsPerUnit)),
            static_cast<int>(std::lround(height / 2.0 + (boardHeight / 2.0 - y) * pixelsPerUnit))};
}

// A 3:4 photograph of soft colour bands with a fine check over them, so that a painted
// shape, coloured like its region, shows against it.
RgbImage portraitPhotograph() {
    RgbImage photo;
    photo.width = 300;
    photo.height = 400;
    for (int y = 0; y < photo.height; ++y) {
        for (int x = 0; x < photo.width; ++x) {
            const int check = (x / 4 + y / 4) % 2 == 0 ? 40 : 0;
            photo.pixels.insert(photo.pixels.end(), {static_cast<std::uint8_t>(60 + x / 2 + check),
                                                     static_cast<std::uint8_t>(40 + y / 3 + check),
                                                     static_cast<std::uint8_t>(200 - y / 4)});
        }
    }
    return photo;
}

// The fruit picture in the middle of the window and black in the bars at its sides.
bool showsTheBoardCentred(const ScreenImage& shot) {
    const int w = shot.width;
    const int h = shot.height;
    const ScreenRegion middle{w / 2 - 80, h / 2 - 60, w / 2 + 80, h / 2 + 60};
    const Point boardLeft = shownAt(w, h, 0.0, 240.0);
    const ScreenRegion leftBar{0, h / 4, boardLeft.x - 5, h * 3 / 4};
    const ScreenRegion rightBar{w - boardLeft.x + 5, h / 4, w, h * 3 / 4};
    return brightnessSpread(shot, middle) > 15 && shareOf(shot, leftBar, isBlack) == 1.0 &&
           shareOf(shot, rightBar, isBlack) == 1.0;
}

// Two shots in a row alike: the last key or click has been drawn.
ScreenImage settledShot(ProgramUnderX& program) {
    ScreenImage previous = program.screenshot();
    ScreenImage shot;
    const ScreenRegion whole{0, 0, previous.width, previous.height};
    program.waitForScreen(
        [&](const ScreenImage& s) {
            const bool settled = shareChanged(previous, s, whole) < 0.01;
            previous = s;
            return settled;
        },
        shot);
    return shot;
}

// A right click paints a small circle; the patch it changes from the bare board is centred
// on the pointer.
void expectPaintedUnderThePointer(ProgramUnderX& program, const ScreenImage& bare, int x, int y,
                                  const char* where) {
    SCOPED_TRACE(where);
    const ScreenRegion near = around(x, y, 30);
    program.movePointer(x, y);
    program.click(rightButton);
    ScreenImage shot;
    const auto painted = [&](const ScreenImage& s) {
        return changedPatch(bare, s, near).count >= 30;
    };
    ASSERT_TRUE(program.waitForScreen(painted, shot));
    const ChangedPatch patch = changedPatch(bare, shot, near);
    EXPECT_NEAR(patch.centreX, x, 2.0);
    EXPECT_NEAR(patch.centreY, y, 2.0);
}

bool toolLit(const ScreenImage& shot, int tool) {
    const Point icon = shownAt(shot.width, shot.height, 20.0 + 60.0 * tool, 10.0);
    const ScreenRegion area = around(icon.x, icon.y, 25);
    return shareOf(shot, area, [](const Rgb& c) { return isNear(c, litIconYellow, 10); }) > 0.1;
}

TEST(ScreenSize, WithFullscreenOrNoOptionTheWindowFillsTheScreen) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--fullscreen"}, std::vector<std::string>{}}) {
        const std::string name = arguments.empty() ? "no option" : arguments[0];
        SCOPED_TRACE(name);
        ProgramUnderX program(screenWidth, screenHeight);
        program.start(arguments);
        ScreenImage shot;
        EXPECT_TRUE(program.waitForScreen(showsTheBoardCentred, shot, ProgramUnderX::startTimeout))
            << shot.width << " x " << shot.height;
        EXPECT_EQ(shot.width, screenWidth);
        EXPECT_EQ(shot.height, screenHeight);
        const bool said = program.errors().find("filling the screen") != std::string::npos;
        EXPECT_EQ(said, arguments.empty()) << program.errors();
    }
}

TEST(ScreenSize, PressesPaintUnderThePointerAtAnyZoomAndPanAndTheDigitsChooseTools) {
    ProgramUnderX program(screenWidth, screenHeight);
    program.start({"--fullscreen"});
    ScreenImage shot;
    ASSERT_TRUE(program.waitForScreen(showsTheBoardCentred, shot, ProgramUnderX::startTimeout));
    for (const int tool : {2, 0, 3, circleTool}) {
        program.pressKeys({std::to_string(tool + 1)});
        EXPECT_TRUE(
            program.waitForScreen([tool](const ScreenImage& s) { return toolLit(s, tool); }, shot))
            << "key " << tool + 1;
    }
    const Point topLeft = shownAt(screenWidth, screenHeight, 12.0, 468.0);
    const Point topRight = shownAt(screenWidth, screenHeight, 628.0, 468.0);
    const Point bottomLeft = shownAt(screenWidth, screenHeight, 12.0, 40.0);
    const Point bottomRight = shownAt(screenWidth, screenHeight, 628.0, 12.0);
    const ScreenImage bare = settledShot(program);
    // Off the screen's very centre, where the pointer starts and a move to it never ends.
    expectPaintedUnderThePointer(program, bare, screenWidth / 2 + 7, screenHeight / 2 + 5,
                                 "centre");
    expectPaintedUnderThePointer(program, bare, topLeft.x, topLeft.y, "top left");
    expectPaintedUnderThePointer(program, bare, topRight.x, topRight.y, "top right");
    expectPaintedUnderThePointer(program, bare, bottomLeft.x, bottomLeft.y, "bottom left");
    expectPaintedUnderThePointer(program, bare, bottomRight.x, bottomRight.y, "bottom right");

    // The margin shows no board: nothing is painted there. The next press on the board
    // shows that the click has been handled.
    const ScreenRegion margin = around(120, 540, 40);
    program.movePointer(120, 540);
    program.click(rightButton);
    expectPaintedUnderThePointer(program, bare, 800, 300, "after a click in the margin");
    EXPECT_EQ(shareChanged(bare, program.screenshot(), margin), 0.0) << "in the margin";

    const struct {
        const char* name;
        std::vector<std::string> keys;
        Point press;
    } views[] = {
        {"zoomed in", {"Escape", "equal", "equal", "equal", "equal"}, {1500, 200}},
        {"zoomed out",
         {"Escape", "minus", "minus", "minus", "minus", "minus", "minus"},
         {700, 850}},
        {"panned", {"Escape", "a", "a", "a", "a", "a", "w", "w", "w"}, {1300, 450}},
    };
    for (const auto& view : views) {
        const std::size_t lines = program.outputLines().size();
        program.pressKeys(view.keys);
        ASSERT_TRUE(program.waitForOutputLines(lines + view.keys.size()));
        expectPaintedUnderThePointer(program, settledShot(program), view.press.x, view.press.y,
                                     view.name);
    }
}

TEST(ScreenSize, APortraitPhotographIsAPortraitBoardPaintedUnderThePointerOnEitherScreen) {
    constexpr int boardWidth = 480; // 3:4, square cells of 10 units
    constexpr int boardHeight = 640;
    for (const Point screen : {Point{1080, 1920}, Point{1920, 1080}}) {
        SCOPED_TRACE(std::to_string(screen.x) + " x " + std::to_string(screen.y));
        ProgramUnderX program(screen.x, screen.y);
        ASSERT_EQ(writePng(portraitPhotograph(), program.pictures().path("tall.png")), "");
        program.start({"--fullscreen", "tall.png"});
        ASSERT_TRUE(program.waitForOutputLines(1)) << program.errors();
        EXPECT_EQ(program.outputLines()[0], "tall.png: 300 x 400 picture from a 300 x 400 "
                                            "photograph, 48 x 64 cells, 12 regions");
        const auto at = [&](double x, double y) {
            return shownOnBoardAt(screen.x, screen.y, boardWidth, boardHeight, x, y);
        };
        // The photograph's blue just inside the board's top edge; black in the bars above a
        // board on a portrait screen, beside one on a landscape screen.
        const Point top = at(240.0, 630.0);
        const Point aboveLeft = screen.y > screen.x ? at(240.0, 700.0) : at(-30.0, 320.0);
        const auto framed = [&](const ScreenImage& shot) {
            return shot.width == screen.x && meanColour(shot, around(top.x, top.y, 4)).blue > 120 &&
                   shareOf(shot, around(aboveLeft.x, aboveLeft.y, 6), isBlack) == 1.0;
        };
        ScreenImage shot;
        ASSERT_TRUE(program.waitForScreen(framed, shot, ProgramUnderX::startTimeout));
        program.pressKeys({"2"});
        const ScreenImage bare = settledShot(program);
        const struct {
            const char* name;
            double x, y;
        } presses[] = {{"centre", 243.0, 322.0},
                       {"top left", 12.0, 628.0},
                       {"top right", 468.0, 628.0},
                       {"bottom right", 468.0, 12.0},
                       {"above the toolbar", 12.0, 40.0}};
        for (const auto& press : presses) {
            const Point p = at(press.x, press.y);
            expectPaintedUnderThePointer(program, bare, p.x, p.y, press.name);
        }
        for (const auto& view :
             {std::vector<std::string>{"Escape", "equal", "equal", "equal"},
              std::vector<std::string>{"Escape", "d", "d", "d", "d", "s", "s", "s"}}) {
            const std::size_t lines = program.outputLines().size();
            program.pressKeys(view);
            ASSERT_TRUE(program.waitForOutputLines(lines + view.size()));
            expectPaintedUnderThePointer(program, settledShot(program), screen.x / 2 + 150,
                                         screen.y / 2 - 200, view[1] == "d" ? "panned" : "zoomed");
        }
    }
}

TEST(ScreenSize, AWindowResizedMidSessionStillPaintsUnderThePointer) {
    ProgramUnderX program(screenWidth, screenHeight);
    program.start({"--window-size", "800x600"});
    ScreenImage shot;
    ASSERT_TRUE(program.waitForScreen(
        [](const ScreenImage& s) { return s.width == 800 && showsTheBoardCentred(s); }, shot,
        ProgramUnderX::startTimeout));
    program.pressKeys({"2"}); // circles: round, so their patch is centred on them
    expectPaintedUnderThePointer(program, settledShot(program), 600, 200, "800 x 600");

    program.resizeWindow(1400, 700);
    ASSERT_TRUE(program.waitForScreen(
        [](const ScreenImage& s) { return s.width == 1400 && showsTheBoardCentred(s); }, shot));
    const Point nearRight = shownAt(1400, 700, 600.0, 300.0);
    expectPaintedUnderThePointer(program, settledShot(program), nearRight.x, nearRight.y,
                                 "1400 x 700");
}

} // namespace
} // namespace tessera
