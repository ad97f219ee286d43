#include "changed_patch.h"
#include "painting.h"
#include "photo/png_writer.h"
#include "program_under_x.h"
#include "wait_until.h"
#include "window_layout.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <png.h>

namespace tessera {
namespace {

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

    // With none left that can be read, the picture stays, and that is said once, not at
    // every clear; once one can be read again, it is shown.
    program.pictures().write("shots/a.png", std::string("\x89PNG\r\n\x1a\n", 8) + "cut");
    program.pictures().write("shots/c.png", std::string("\x89PNG\r\n\x1a\n", 8) + "cut");
    const auto stays = [&] {
        const std::string errors = program.errors();
        std::size_t count = 0;
        for (std::size_t at = errors.find("the picture stays"); at != std::string::npos;
             at = errors.find("the picture stays", at + 1)) {
            ++count;
        }
        return count;
    };
    for (int clear = 0; clear < 3; ++clear) {
        program.pressKeys({"Escape"});
        EXPECT_TRUE(waitUntil(ProgramUnderX::stepTimeout, [&] { return stays() >= 1; }));
    }
    writePhotograph(program, "shots/c.png", 20, 220);
    program.pressKeys({"Escape"});
    EXPECT_TRUE(program.waitForScreen(shows(blue), shot)) << meanColour(shot, boardCorner);
    EXPECT_EQ(stays(), 1u) << program.errors();
}

// A black photograph written a row at a time: small on disk, seconds to decode.
void writeBlackPng(const std::string& path, png_uint_32 width, png_uint_32 height) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3, 0);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, out);
        png_set_compression_level(png, 1);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (png_uint_32 y = 0; y < height; ++y) {
            png_write_row(png, row.data());
        }
        png_write_end(png, info);
    } else {
        ADD_FAILURE() << "cannot write " << path;
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
}

// The next photograph is decoded off the window's thread: the owner's ways out answer at
// once, not when the decode is done or when the kiosk's last resort ends it a second later.
TEST(Photos, TheOwnersWaysOutAnswerWithinASecondWhileAHugePhotographIsDecoded) {
    using Act = std::function<void(ProgramUnderX&)>;
    const struct {
        const char* name;
        Act act;
    } rows[] = {
        {"SIGTERM", [](ProgramUnderX& p) { p.sendSignal(SIGTERM); }},
        {"Ctrl+Alt+Q", [](ProgramUnderX& p) { p.pressKeys({"ctrl+alt+q"}); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ProgramUnderX program;
        std::filesystem::create_directory(program.pictures().path("shots"));
        writePhotograph(program, "shots/a.png", 220, 20);
        writeBlackPng(program.pictures().path("shots/b.png"), 16000, 12000);
        program.start({"--kiosk", "--photos", "shots", "--regions=1", "--clear-after", "1"});
        program.movePointer(320, 240);
        ScreenImage bare;
        ASSERT_TRUE(program.waitForScreen(
            [](const ScreenImage& shot) {
                return isNear(meanColour(shot, boardCorner), {220, 30, 20}, 12);
            },
            bare, ProgramUnderX::startTimeout))
            << program.errors();
        // A shape painted and let go: a second later the board clears and b.png's decode,
        // its pixels alone 768 MB, begins.
        program.pressButton(rightButton);
        program.releaseButton(rightButton);
        ASSERT_TRUE(waitUntil(ProgramUnderX::startTimeout, [&] {
            return program.residentKib() > 500 * 1024;
        })) << "no decode seen";

        const auto asked = std::chrono::steady_clock::now();
        row.act(program);
        EXPECT_EQ(program.waitForExit(), 0) << program.errors();
        // The program's own second is told by its last resort's line; a loaded machine adds
        // the helper's start to the time seen here.
        EXPECT_EQ(program.errors().find("did not end within a second"), std::string::npos);
        EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(1500));
        const std::vector<std::string> lines = program.outputLines();
        EXPECT_EQ(lines.back().rfind("shots/a.png: ", 0), 0u) << "the decode was done already";
    }
}

// The decode's memory tells when it is under way and when it is done: its pixels alone take
// 768 MB, the finished photograph a few. Lines: a.png's, Escape's key code, b.png's.
TEST(Photos, APhotographFinishedAfterSomebodyPaintedWaitsForTheNextClear) {
    ProgramUnderX program;
    std::filesystem::create_directory(program.pictures().path("shots"));
    writePhotograph(program, "shots/a.png", 220, 20);
    writeBlackPng(program.pictures().path("shots/b.png"), 16000, 12000);
    // However long the decode takes, the shape stays where it was painted.
    program.start({"--window", "--photos", "shots", "--regions=1", "--idle-scatter", "0"});
    const auto shows = [](const Rgb& colour) {
        return [colour](const ScreenImage& shot) {
            return isNear(meanColour(shot, boardCorner), colour, 12);
        };
    };
    program.movePointer(320, 240);
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(shows({220, 30, 20}), bare, ProgramUnderX::startTimeout))
        << program.errors();

    // Pressed at once, the button paints before the decode is done, and holds the shape
    // until it is.
    program.pressKeys({"Escape"});
    program.pressButton(rightButton);
    const auto decoding = [&] { return program.residentKib() > 500 * 1024; };
    EXPECT_TRUE(waitUntil(ProgramUnderX::stepTimeout, decoding)) << "no decode seen";
    ASSERT_TRUE(waitUntil(ProgramUnderX::startTimeout, [&] { return !decoding(); }));
    program.releaseButton(rightButton);
    const auto bShown = [&] { return program.outputLines().size() > 2; };
    EXPECT_FALSE(waitUntil(std::chrono::milliseconds(1500), bShown))
        << program.outputLines().back();
    ScreenImage shot = program.screenshot();
    EXPECT_FALSE(changedPatch(bare, shot, around(320, 240, 12)).empty()) << "the shape is gone";
    EXPECT_TRUE(shows({220, 30, 20})(shot)) << meanColour(shot, boardCorner);

    program.pressKeys({"Escape"});
    EXPECT_TRUE(program.waitForScreen(shows({0, 0, 0}), shot)) << meanColour(shot, boardCorner);
    ASSERT_TRUE(waitUntil(ProgramUnderX::stepTimeout, bShown));
    EXPECT_EQ(program.outputLines().back().rfind("shots/b.png: 1024 x 768 picture", 0), 0u);
}

} // namespace
} // namespace tessera
