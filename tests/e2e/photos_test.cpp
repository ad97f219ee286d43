#include "photo/png_writer.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessera {
namespace {

constexpr int rightButton = 3;

// A 4:3 photograph of one colour.
void writePhotograph(const ProgramUnderX& program, const std::string& name, std::uint8_t red,
                     std::uint8_t blue) {
    RgbImage photo;
    photo.width = 160;
    photo.height = 120;
    for (int i = 0; i < photo.width * photo.height; ++i) {
        photo.pixels.insert(photo.pixels.end(), {red, 30, blue});
    }
    ASSERT_EQ(writePng(photo, program.pictures().path(name)), "");
}

TEST(Photos, EachClearShowsTheFolderNextPhotographPassingOverABrokenOne) {
    ProgramUnderX program;
    std::filesystem::create_directory(program.pictures().path("shots"));
    writePhotograph(program, "shots/a.png", 220, 20);
    program.pictures().write("shots/b.png", std::string("\x89PNG\r\n\x1a\n", 8) + "cut short");
    writePhotograph(program, "shots/c.png", 20, 220);
    program.start({"--window", "--photos", "shots", "--regions=1", "--clear-after", "1"});
    const Rgb red{220, 30, 20};
    const Rgb blue{20, 30, 220};
    const auto shows = [](const Rgb& colour) {
        return [colour](const ScreenImage& shot) {
            return isNear(meanColour(shot, boardCorner), colour, 12);
        };
    };
    ScreenImage shot;
    ASSERT_TRUE(program.waitForScreen(shows(red), shot, ProgramUnderX::startTimeout))
        << meanColour(shot, boardCorner) << program.errors();
    EXPECT_EQ(program.outputLines()[0].rfind("shots/a.png: 160 x 120 picture", 0), 0u);

    // Something painted, then left alone for a second: the board is cleared.
    program.movePointer(320, 240);
    program.click(rightButton);
    EXPECT_TRUE(program.waitForScreen(shows(blue), shot)) << meanColour(shot, boardCorner);
    EXPECT_NE(program.errors().find("tessera: shots/b.png: "), std::string::npos);
    EXPECT_NE(program.errors().find("; skipped\n"), std::string::npos) << program.errors();

    program.pressKeys({"Escape"});
    EXPECT_TRUE(program.waitForScreen(shows(red), shot)) << meanColour(shot, boardCorner);
}

} // namespace
} // namespace tessera
