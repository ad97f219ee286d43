#include "picture/pnm_reader.h"
#include "picture/region_map.h"
#include "scratch_folder.h"
#include "test_image_files.h"
#include "tool_process.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <png.h>

namespace tessera {
namespace {

class TesseraSet : public ::testing::Test {
protected:
    // Inputs go to one folder, outputs to another, so that "nothing written" is simply
    // an empty output folder.
    ScratchFolder inputs;
    ScratchFolder outputs;
    ScratchFolder logs;

    std::string input(const std::string& name) const { return inputs.path(name); }
    std::string output(const std::string& name) const { return outputs.path(name); }

    ToolRun run(const std::vector<std::string>& arguments) {
        return runTool(TESSERA_SET_PATH, arguments, logs.path());
    }

    // A 40 x 30 picture: orange left half, green top right, dark blue bottom right.
    std::string threeColourPng() {
        RgbImage image = solidImage(40, 30, 230, 120, 20);
        for (int y = 0; y < 30; ++y) {
            for (int x = 20; x < 40; ++x) {
                y < 15 ? setPixel(image, x, y, 40, 160, 40) : setPixel(image, x, y, 30, 30, 120);
            }
        }
        writePng(input("three.png"), image);
        return input("three.png");
    }

    void expectRefused(const std::vector<std::string>& arguments, const std::string& message) {
        const ToolRun result = run(arguments);
        EXPECT_NE(result.status, 0);
        EXPECT_EQ(result.errors, "tessera-set: " + message + "\n");
        EXPECT_TRUE(outputs.isEmpty());
    }
};

std::vector<int> colourOf(const Region& region) {
    return {region.red, region.green, region.blue};
}

TEST_F(TesseraSet, MakesAPictureSetTheProgramReadsBack) {
    const ToolRun result =
        run({threeColourPng(), output("three"), "--regions", "3", "--cells", "8x6"});
    ASSERT_EQ(result.status, 0) << result.errors;

    Image picture;
    ASSERT_EQ(loadPpm(output("three.ppm").c_str(), picture), "");
    EXPECT_EQ(picture.width, 40);
    EXPECT_EQ(picture.height, 30);
    Image mask;
    ASSERT_EQ(loadPgm(output("three_mask.pgm").c_str(), mask), "");
    ASSERT_EQ(mask.width, 8);
    ASSERT_EQ(mask.height, 6);
    RegionMap map;
    ASSERT_EQ(loadRegionMap(output("three.map").c_str(), map), "");
    EXPECT_EQ(map.regionCount, 3);
    // The readers keep rows bottom-up: row 5 of the mask is the picture's top.
    EXPECT_EQ(colourOf(map.table.at(mask.pixels[5 * 8 + 0])), (std::vector<int>{230, 120, 20}));
    EXPECT_EQ(colourOf(map.table.at(mask.pixels[5 * 8 + 7])), (std::vector<int>{40, 160, 40}));
    EXPECT_EQ(colourOf(map.table.at(mask.pixels[0 * 8 + 7])), (std::vector<int>{30, 30, 120}));
    EXPECT_EQ(map.table.at(mask.pixels[0]).red, 230); // the largest region
    EXPECT_EQ(mask.pixels[0], 0);
    EXPECT_EQ(result.output, "tessera-set: wrote " + output("three") + ".ppm (40 x 30), " +
                                 output("three") + "_mask.pgm (8 x 6), " + output("three") +
                                 ".map (3 regions)\n");
}

TEST_F(TesseraSet, TheSamePhotographGivesTheSameBytesAndAMaskThatFitsIt) {
    const char* sourceDir = std::getenv("TESSERA_SOURCE_DIR"); // set by ctest
    ASSERT_NE(sourceDir, nullptr) << "TESSERA_SOURCE_DIR must name the source tree";
    const std::string data = std::string(sourceDir) + "/data/";
    // The default set is made this way (data/README.md).
    ASSERT_EQ(run({data + "fruits.jpg", output("first"), "--fit", "stretch"}).status, 0);
    for (const char* suffix : {".ppm", "_mask.pgm", ".map"}) {
        EXPECT_EQ(readBytes(output("first") + suffix), readBytes(data + "fruit" + suffix))
            << suffix;
    }

    Image picture;
    Image mask;
    RegionMap map;
    ASSERT_EQ(loadPpm(output("first.ppm").c_str(), picture), "");
    ASSERT_EQ(loadPgm(output("first_mask.pgm").c_str(), mask), "");
    ASSERT_EQ(loadRegionMap(output("first.map").c_str(), map), "");
    ASSERT_EQ(mask.width, 64);
    ASSERT_EQ(mask.height, 48);
    EXPECT_EQ(map.table.size(), 12u);
    // Each cell's region colour should resemble the picture under the cell; a mask laid
    // over the wrong part of the picture would be far off on average.
    const int cellWidth = picture.width / mask.width;
    const int cellHeight = picture.height / mask.height;
    double totalError = 0;
    for (int row = 0; row < mask.height; ++row) {
        for (int column = 0; column < mask.width; ++column) {
            const auto found = map.table.find(mask.pixels[row * mask.width + column]);
            ASSERT_NE(found, map.table.end());
            const std::vector<int> regionColour = colourOf(found->second);
            for (int c = 0; c < 3; ++c) {
                long sum = 0;
                for (int y = row * cellHeight; y < (row + 1) * cellHeight; ++y) {
                    for (int x = column * cellWidth; x < (column + 1) * cellWidth; ++x) {
                        sum += picture.pixels[4 * (y * picture.width + x) + c];
                    }
                }
                totalError += std::abs(sum / (cellWidth * cellHeight) - regionColour[c]);
            }
        }
    }
    EXPECT_LT(totalError / (mask.width * mask.height * 3), 20.0);
}

TEST_F(TesseraSet, ReadsGreyAndTranslucentPngs) {
    // Grey with alpha: opaque white, then fully transparent white, which lies on the black
    // that --fit pad's bars are made of.
    writeRawPng(input("grey.png"), 2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, {255, 255, 255, 0});

    ASSERT_EQ(run({input("grey.png"), output("grey"), "--regions", "2", "--cells", "2x1", "--fit",
                   "stretch"})
                  .status,
              0);

    Image picture;
    ASSERT_EQ(loadPpm(output("grey.ppm").c_str(), picture), "");
    EXPECT_EQ(picture.pixels, (std::vector<unsigned char>{255, 255, 255, 255, 0, 0, 0, 255}));
}

TEST_F(TesseraSet, FitsAndScalesThePhotographAsTheOptionsSay) {
    writePng(input("wide.png"), solidImage(40, 20, 230, 120, 20)); // padded to 40 x 30
    const ToolRun result = run({input("wide.png"), output("x"), "--fit=pad", "--max-size", "20x20",
                                "--regions", "2", "--cells", "4x3"});

    EXPECT_EQ(result.output.rfind("tessera-set: wrote " + output("x") + ".ppm (20 x 15)", 0), 0u)
        << result.errors;
}

TEST_F(TesseraSet, HelpPrintsTheUsage) {
    const ToolRun result = run({"--help"});

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output.rfind("usage: tessera-set INPUT NAME [--regions K] [--cells WxH] "
                                  "[--max-size WxH]\n",
                                  0),
              0u);
    EXPECT_TRUE(outputs.isEmpty());
}

using TesseraSetRefuses = TesseraSet;

TEST_F(TesseraSetRefuses, AMissingInput) {
    expectRefused({input("none.png"), output("x")},
                  input("none.png") + ": cannot open: No such file or directory");
}

TEST_F(TesseraSetRefuses, AFileThatIsNoPicture) {
    writeBytes(input("notes.jpg"), {'h', 'e', 'l', 'l', 'o'});
    expectRefused({input("notes.jpg"), output("x")},
                  input("notes.jpg") + ": not a JPEG or PNG image");
}

TEST_F(TesseraSetRefuses, ATruncatedJpeg) {
    writeJpeg(input("cut.jpg"), solidImage(64, 64, 200, 100, 50));
    std::vector<char> bytes = readBytes(input("cut.jpg"));
    bytes.resize(bytes.size() / 2);
    writeBytes(input("cut.jpg"), bytes);

    expectRefused({input("cut.jpg"), output("x"), "--cells", "8x8"},
                  input("cut.jpg") + ": cannot decode JPEG: Premature end of JPEG file");
}

TEST_F(TesseraSetRefuses, ATruncatedPng) {
    writePng(input("cut.png"), solidImage(64, 64, 200, 100, 50));
    std::vector<char> bytes = readBytes(input("cut.png"));
    bytes.resize(bytes.size() - 30);
    writeBytes(input("cut.png"), bytes);

    const ToolRun result = run({input("cut.png"), output("x"), "--cells", "8x8"});
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(result.errors.rfind("tessera-set: " + input("cut.png") + ": cannot decode PNG: ", 0),
              0u)
        << result.errors;
    EXPECT_TRUE(outputs.isEmpty());
}

TEST_F(TesseraSetRefuses, APngWiderThan65535Pixels) {
    writeRawPng(input("wide.png"), 65536, 1, PNG_COLOR_TYPE_GRAY,
                std::vector<std::uint8_t>(65536, 0));
    expectRefused({input("wide.png"), output("x"), "--cells", "1x1"},
                  input("wide.png") +
                      ": picture is 65536 x 1 pixels; at most 65535 a side is supported");
}

TEST_F(TesseraSetRefuses, RegionCountsOutsideOneTo255) {
    for (const char* count : {"0", "256", "12x", "-3", ""}) {
        SCOPED_TRACE(count);
        expectRefused({threeColourPng(), output("x"), "--regions", count},
                      std::string("--regions needs a whole number from 1 to 255, not '") + count +
                          "'");
    }
}

TEST_F(TesseraSetRefuses, MoreRegionsThanPixels) {
    writePng(input("tiny.png"), solidImage(2, 2, 0, 0, 0));
    expectRefused({input("tiny.png"), output("x"), "--regions", "5", "--cells", "1x1"},
                  input("tiny.png") +
                      ": the picture made is 2 x 2 pixels: fewer pixels than --regions 5");
}

TEST_F(TesseraSetRefuses, MalformedOrOversizedGrids) {
    for (const char* grid : {"64x", "x48", "0x48", "64x0", "64*48", "641x48", "64x641"}) {
        SCOPED_TRACE(grid);
        expectRefused(
            {threeColourPng(), output("x"), "--cells", grid},
            std::string("--cells needs auto or WxH with W from 1 to 640 and H from 1 to 640, "
                        "not '") +
                grid + "'");
    }
}

TEST_F(TesseraSetRefuses, AGridWithMoreCellsThanPixels) {
    expectRefused({threeColourPng(), output("x"), "--cells", "41x30"},
                  input("three.png") +
                      ": the picture made is 40 x 30 pixels: too small for --cells 41x30");
}

TEST_F(TesseraSetRefuses, UnknownOptionsAndWrongArgumentCounts) {
    const std::string png = threeColourPng();
    expectRefused({png, output("x"), "--colours", "5"}, "unknown option '--colours' (see --help)");
    expectRefused({png}, "expected INPUT and NAME, got 1 argument(s) (see --help)");
    expectRefused({png, output("x"), output("y")},
                  "expected INPUT and NAME, got 3 argument(s) (see --help)");
    expectRefused({png, output("x"), "--regions"}, "--regions needs a value");
    expectRefused({png, output("x"), "--fit", "fill"},
                  "--fit needs own, crop, pad or stretch, not 'fill'");
    EXPECT_EQ(run({png, output("x"), "--max-size=0x5"}).status, 2);
}

// Files named only by their suffix (".ppm") would be hidden in the folder.
TEST_F(TesseraSetRefuses, ANameWithNoFileNamePart) {
    const std::string png = threeColourPng();
    for (const std::string& name : {outputs.path() + "/", outputs.path() + "/.."}) {
        SCOPED_TRACE(name);
        expectRefused({png, name},
                      "NAME '" + name + "' has no file name part; give one, as in shots/beach");
        EXPECT_EQ(run({png, name}).status, 2);
    }
}

TEST_F(TesseraSetRefuses, AnUnwritableDestinationAndLeavesNoTemporaries) {
    expectRefused({threeColourPng(), output("missing/x"), "--cells", "8x6"},
                  "cannot write " + output("missing/x") + ".ppm: No such file or directory");
}

} // namespace
} // namespace tessera
