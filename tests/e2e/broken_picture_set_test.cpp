#include "program_under_x.h"

#include <gtest/gtest.h>
#include <optional>

namespace tessera {
namespace {

// One way of spoiling the picture set, and how the program must end because of it.
struct Breakage {
    const char* name;
    const char* file;
    std::optional<std::string> contents; // nothing: the file is removed
    const char* message;                 // standard error, in full
    std::size_t linesBefore;             // load lines printed before the bad file
};

void PrintTo(const Breakage& breakage, std::ostream* out) {
    *out << breakage.name;
}

class BrokenPictureSet : public testing::TestWithParam<Breakage> {};

TEST_P(BrokenPictureSet, EndsTheProgramWithStatus255AndAMessage) {
    const Breakage& breakage = GetParam();
    ProgramUnderX program;
    if (breakage.contents) {
        program.pictures().write(breakage.file, *breakage.contents);
    } else {
        program.pictures().remove(breakage.file);
    }

    program.start();

    EXPECT_EQ(program.waitForExit(ProgramUnderX::startTimeout), 255);
    EXPECT_NE(program.errors().find(breakage.message), std::string::npos) << program.errors();
    EXPECT_EQ(program.outputLines().size(), breakage.linesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    PictureSet, BrokenPictureSet,
    testing::Values(Breakage{"MissingPicture", "fruit.ppm", std::nullopt,
                             "error opening ppm file fruit.ppm: No such file", 0},
                    Breakage{"PictureNotP6", "fruit.ppm",
                             std::string("P3\n2 2\n255\n0 0 0 0 0 0 0 0 0 0 0 0\n"),
                             "ppm type not P6\n: Invalid argument\n", 0},
                    // Found missing before the window opens and the set is read.
                    Breakage{"MissingMask", "fruit_mask.pgm", std::nullopt,
                             "error opening pgm file fruit_mask.pgm: No such file", 0},
                    Breakage{"MapWithoutHeader", "fruit.map", std::string("0 0 159 104 27\n"),
                             "error loading header from map file\n: Invalid argument\n", 2},
                    // Hostile headers: refused before anything is allocated or read.
                    Breakage{"PictureTooLarge", "fruit.ppm",
                             std::string("P6 30000 30000 255\nabcdefgh"),
                             "ppm size too large\n: Invalid argument\n", 0},
                    Breakage{"PictureWidthTooLargeForAnInt", "fruit.ppm",
                             std::string("P6 99999999999 1 255\n"),
                             "ppm width invalid\n: Invalid argument\n", 0},
                    Breakage{"PictureHeaderComment", "fruit.ppm",
                             std::string("P6\n# made by hand\n1 1 255\nabc"),
                             "ppm header has a comment\n: Invalid argument\n", 0},
                    Breakage{"PictureCutShort", "fruit.ppm", std::string("P6\n2 2\n255\nabcdefghi"),
                             "ppm data short\n: Invalid argument\n", 0},
                    Breakage{"MaskOfZeroWidth", "fruit_mask.pgm", std::string("P5 0 48 255\n"),
                             "pgm width invalid\n: Invalid argument\n", 1},
                    Breakage{"MapWithHugeCountAndFewRecords", "fruit.map",
                             std::string("regions 2147483647\nbackground 0\n0 0 1 2 3\n"),
                             "error loading region data from map file\n: Invalid argument\n", 2},
                    Breakage{"MapKeyTooLargeForAnInt", "fruit.map",
                             std::string("regions 1\nbackground 0\n0 fffffffff 1 2 3\n"),
                             "error loading region data from map file\n: Invalid argument\n", 2}),
    [](const testing::TestParamInfo<Breakage>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tessera
