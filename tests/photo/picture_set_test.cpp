#include "image/cell_mask.h"
#include "image/colour_segmentation.h"
#include "photo/picture_set.h"
#include "photo/picture_set_files.h"
#include "picture/pnm_reader.h"
#include "picture/region_map.h"
#include "scratch_folder.h"
#include "test_image_files.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(ColourSegmentation, KeysFollowTheColoursAndTheLargestRegionIsKeyZero) {
    RgbImage image = solidImage(4, 3, 20, 40, 200); // 9 blue pixels
    setPixel(image, 0, 0, 200, 10, 10);
    setPixel(image, 3, 2, 201, 10, 10);
    setPixel(image, 1, 1, 201, 10, 10);

    const ColourSegmentation segmentation = segmentColours(image, 2);

    ASSERT_EQ(segmentation.regions.size(), 2u);
    EXPECT_EQ(segmentation.keys[0], 1);
    EXPECT_EQ(segmentation.keys[1], 0);
    EXPECT_EQ(segmentation.keys[5], 1);
    EXPECT_EQ(segmentation.keys[11], 1);
    const Region& blue = segmentation.regions[0];
    const Region& red = segmentation.regions[1];
    EXPECT_EQ(blue.number, 0);
    EXPECT_EQ((std::vector<int>{blue.red, blue.green, blue.blue}), (std::vector<int>{20, 40, 200}));
    EXPECT_EQ(red.number, 1);
    EXPECT_EQ(red.red, 201); // (200 + 201 + 201) / 3 = 200.67
}

TEST(CellMask, EachCellTakesTheKeyOfMostOfItsPixelsAndTheLowestOnATie) {
    // Two 2 x 2 cells: the left one has three 5s, the right one two 7s and two 3s.
    const std::vector<std::uint8_t> keys{5, 5, 7, 3, //
                                         9, 5, 3, 7};

    EXPECT_EQ(buildCellMask(keys, 4, 2, 2, 1), (std::vector<std::uint8_t>{5, 3}));
}

TEST(CellMask, UnevenGridsPutEveryPixelInExactlyOneCell) {
    // 5 columns in 2 cells split 2 + 3; 3 rows in 2 cells split 1 + 2.
    const std::vector<std::uint8_t> keys{1, 1, 2, 2, 2, //
                                         4, 3, 4, 6, 6, //
                                         3, 4, 4, 6, 6};

    EXPECT_EQ(buildCellMask(keys, 5, 3, 2, 2), (std::vector<std::uint8_t>{1, 2, 3, 6}));
}

// Eleven colours with 1, 2, ... 11 pixels: the top-left colour is the rarest, so it gets
// key 10 (a line feed), and its red value is 10 as well.
RgbImage elevenColourStrip() {
    RgbImage image = solidImage(66, 1, 0, 0, 0);
    int x = 0;
    for (int colour = 0; colour < 11; ++colour) {
        for (int run = 0; run <= colour; ++run) {
            setPixel(image, x++, 0, colour == 0 ? 10 : static_cast<std::uint8_t>(colour * 23),
                     static_cast<std::uint8_t>(250 - colour * 20), colour % 2 ? 40 : 200);
        }
    }
    return image;
}

TEST(PictureSet, FilesStartingWithWhiteSpaceBytesReadBackExactly) {
    ScratchFolder folder;
    const RgbImage photograph = elevenColourStrip();

    ASSERT_EQ(writePictureSet(folder.path("strip"), buildPictureSet(photograph, 11, 66, 1)), "");

    Image picture;
    ASSERT_EQ(loadPpm(folder.path("strip.ppm").c_str(), picture), "");
    ASSERT_EQ(picture.width, 66);
    for (int x = 0; x < 66; ++x) {
        for (int c = 0; c < 3; ++c) {
            ASSERT_EQ(picture.pixels[4 * x + c], photograph.pixels[3 * x + c]) << "pixel " << x;
        }
    }
    Image mask;
    ASSERT_EQ(loadPgm(folder.path("strip_mask.pgm").c_str(), mask), "");
    ASSERT_EQ(mask.width, 66);
    EXPECT_EQ(mask.pixels[0], 10);
    RegionMap map;
    ASSERT_EQ(loadRegionMap(folder.path("strip.map").c_str(), map), "");
    for (int x = 0; x < 66; ++x) {
        ASSERT_EQ(map.table.count(mask.pixels[x]), 1u) << "cell " << x;
        const Region& region = map.table.at(mask.pixels[x]);
        ASSERT_EQ(region.green, photograph.pixels[3 * x + 1]) << "cell " << x;
    }
}

TEST(PictureSetFiles, KeysAboveNineAreWrittenInHexAndReadBack) {
    std::vector<Region> regions(12);
    for (int key = 0; key < 12; ++key) {
        regions[key] =
            Region{static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key * 20), 7, 255};
    }
    const std::string text = regionMapText(regions);
    std::FILE* in = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    RegionMap map;

    ASSERT_EQ(parseRegionMap(in, map), "");
    std::fclose(in);

    EXPECT_EQ(map.regionCount, 12);
    ASSERT_EQ(map.table.size(), 12u);
    EXPECT_EQ(map.table.at(11).red, 220);
    EXPECT_EQ(map.table.at(11).blue, 255);
    EXPECT_NE(text.find("\n11 b 220 7 255\n"), std::string::npos);
}

} // namespace
} // namespace tessera
