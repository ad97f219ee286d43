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
                             "error opening ppm file\n: No such file or directory\n", 0},
                    Breakage{"PictureNotP6", "fruit.ppm",
                             std::string("P3\n2 2\n255\n0 0 0 0 0 0 0 0 0 0 0 0\n"),
                             "ppm type not P6\n: Invalid argument\n", 0},
                    Breakage{"MissingMask", "fruit_mask.pgm", std::nullopt,
                             "error opening pgm file\n: No such file or directory\n", 1},
                    Breakage{"MapWithoutHeader", "fruit.map", std::string("0 0 159 104 27\n"),
                             "error loading header from map file\n: Invalid argument\n", 2}),
    [](const testing::TestParamInfo<Breakage>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tessera
