#include "photo/make_picture_set.h"
#include "photo/upright_photo.h"
#include "scratch_folder.h"
#include "test_image_files.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

// Pixels a browser hands over, RGBA rows top to bottom: a gradient, its right half half
// transparent, its bottom rows fully so.
std::vector<std::uint8_t> browserPixels(int width, int height) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto alpha = y >= height - 4 ? 0 : x >= width / 2 ? 128 : 255;
            rgba.insert(rgba.end(), {static_cast<std::uint8_t>(x * 255 / width),
                                     static_cast<std::uint8_t>(y * 255 / height),
                                     static_cast<std::uint8_t>((x + y) % 256),
                                     static_cast<std::uint8_t>(alpha)});
        }
    }
    return rgba;
}

// The same pixels make the same set whether a browser decoded them or the PNG decoder did:
// transparency over black, fitting (cropped and scaled down) and regions alike.
TEST(UprightPhoto, RgbaPixelsMakeTheSetTheirPngMakes) {
    ScratchFolder folder;
    const int width = 300;
    const int height = 160;
    const std::vector<std::uint8_t> rgba = browserPixels(width, height);
    writeRawPng(folder.path("photo.png"), width, height, 6, rgba);
    PhotoOptions options;
    options.regions = 6;
    options.cellsAcross = 16;
    options.cellsDown = 12;
    options.maxWidth = 160;
    options.maxHeight = 120;
    PictureSet decoded;
    ASSERT_EQ(makePictureSet(folder.path("photo.png").c_str(), options, decoded), "");
    PictureSet given;
    ASSERT_EQ(makePictureSetFromRgba(rgba.data(), width, height, options, given), "");
    EXPECT_EQ(given.picture.width, 160);
    EXPECT_EQ(given.picture.pixels, decoded.picture.pixels);
    EXPECT_EQ(given.mask, decoded.mask);
    ASSERT_EQ(given.regions.size(), decoded.regions.size());
    for (std::size_t i = 0; i < given.regions.size(); ++i) {
        EXPECT_EQ(given.regions[i].red, decoded.regions[i].red) << i;
        EXPECT_EQ(given.regions[i].blue, decoded.regions[i].blue) << i;
    }
    EXPECT_EQ(given.photoWidth, width);
    EXPECT_EQ(given.photoHeight, height);
}

TEST(UprightPhoto, RefusesWhatItCannotMakeWithOneMessage) {
    const std::vector<std::uint8_t> rgba = browserPixels(8, 8);
    PictureSet set;
    PhotoOptions options;
    EXPECT_EQ(makePictureSetFromRgba(rgba.data(), 0, 8, options, set), "the picture has no pixels");
    EXPECT_EQ(makePictureSetFromRgba(rgba.data(), 8, 8, options, set),
              "the picture made is 8 x 8 pixels: too small for --cells 64x64");
    EXPECT_TRUE(set.picture.pixels.empty());
}

} // namespace
} // namespace tessera
