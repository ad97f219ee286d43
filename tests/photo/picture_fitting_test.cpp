#include "photo/box_resampler.h"
#include "photo/orientation.h"
#include "photo/picture_fitting.h"
#include "test_image_files.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

// A picture whose pixel (x, y) has red x * 10 + 1, green y * 10 + 1, blue 7.
RgbImage coordinateImage(int width, int height) {
    RgbImage image = solidImage(width, height, 0, 0, 7);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setPixel(image, x, y, static_cast<std::uint8_t>(x * 10 + 1),
                     static_cast<std::uint8_t>(y * 10 + 1), 7);
        }
    }
    return image;
}

std::vector<int> pixelAt(const RgbImage& image, int x, int y) {
    const std::uint8_t* p =
        image.pixels.data() + 3 * (static_cast<std::size_t>(y) * image.width + x);
    return {p[0], p[1], p[2]};
}

TEST(BoxResampler, EachPixelIsTheAreaWeightedMeanOfWhatItCovers) {
    RgbImage row = solidImage(3, 2, 0, 0, 0);
    setPixel(row, 1, 0, 30, 30, 30);
    setPixel(row, 2, 0, 60, 60, 60);
    setPixel(row, 1, 1, 30, 30, 30);
    setPixel(row, 2, 1, 60, 60, 60);

    // Three pixels into two: the middle one is split half and half.
    const RgbImage halved = resampleBox(row, {0, 0, 3, 2}, 2, 1);

    EXPECT_EQ(pixelAt(halved, 0, 0), (std::vector<int>{10, 10, 10})); // (0 * 2 + 30) / 3
    EXPECT_EQ(pixelAt(halved, 1, 0), (std::vector<int>{50, 50, 50})); // (30 + 60 * 2) / 3
    const RgbImage picture = coordinateImage(6, 4);
    EXPECT_EQ(resampleBox(picture, {0, 0, 6, 4}, 6, 4).pixels, picture.pixels);
    const RgbImage window = resampleBox(picture, {2, 1, 2, 2}, 1, 1);
    EXPECT_EQ(pixelAt(window, 0, 0), (std::vector<int>{26, 16, 7})); // mean of x 2-3, y 1-2
}

TEST(Orientation, EachTagTurnsTheStoredPictureUpright) {
    // Stored 3 x 2:  a b c
    //                d e f
    const RgbImage stored = coordinateImage(3, 2);
    const auto at = [&](int x, int y) { return pixelAt(stored, x, y); };
    const struct {
        int orientation;
        std::vector<std::vector<int>> topRow; // the upright picture's top row
        std::vector<int> bottomLeft;
    } rows[] = {
        {1, {at(0, 0), at(1, 0), at(2, 0)}, at(0, 1)},
        {2, {at(2, 0), at(1, 0), at(0, 0)}, at(2, 1)},
        {3, {at(2, 1), at(1, 1), at(0, 1)}, at(2, 0)},
        {4, {at(0, 1), at(1, 1), at(2, 1)}, at(0, 0)},
        {5, {at(0, 0), at(0, 1)}, at(2, 0)},
        {6, {at(0, 1), at(0, 0)}, at(2, 1)}, // a quarter clockwise: d a / e b / f c
        {7, {at(2, 1), at(2, 0)}, at(0, 1)},
        {8, {at(2, 0), at(2, 1)}, at(0, 0)}, // a quarter anticlockwise: c f / b e / a d
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.orientation);

        const RgbImage upright = orientImage(stored, row.orientation);

        ASSERT_EQ(upright.width, static_cast<int>(row.topRow.size()));
        ASSERT_EQ(upright.width * upright.height, 6);
        for (int x = 0; x < upright.width; ++x) {
            EXPECT_EQ(pixelAt(upright, x, 0), row.topRow[x]) << "column " << x;
        }
        EXPECT_EQ(pixelAt(upright, 0, upright.height - 1), row.bottomLeft);
    }
}

TEST(PictureFitting, CropShowsTheCentreOfThePhotograph) {
    const RgbImage photo = coordinateImage(8, 3);

    // 8 x 3 is wider than 4:3: the 4 x 3 window from column 2.
    const RgbImage picture = fitPhotograph(photo, 1, planFit(8, 3, Fit::crop, 1024, 768));

    ASSERT_EQ(picture.width, 4);
    ASSERT_EQ(picture.height, 3);
    EXPECT_EQ(pixelAt(picture, 0, 0), pixelAt(photo, 2, 0));
    EXPECT_EQ(pixelAt(picture, 3, 2), pixelAt(photo, 5, 2));
}

TEST(PictureFitting, PadCentresThePhotographOnBlackBars) {
    const RgbImage photo = coordinateImage(4, 1);

    // 4 x 1 padded to 4 x 3: one black row above and one below.
    const RgbImage picture = fitPhotograph(photo, 1, planFit(4, 1, Fit::pad, 1024, 768));

    ASSERT_EQ(picture.width, 4);
    ASSERT_EQ(picture.height, 3);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(pixelAt(picture, x, 0), (std::vector<int>{0, 0, 0}));
        EXPECT_EQ(pixelAt(picture, x, 1), pixelAt(photo, x, 0));
        EXPECT_EQ(pixelAt(picture, x, 2), (std::vector<int>{0, 0, 0}));
    }
}

// Fitting works on the stored picture and turns only the result; that must give what
// turning the whole photograph first would.
TEST(PictureFitting, TurningAfterScalingMatchesTurningFirst) {
    const RgbImage stored = coordinateImage(11, 7);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const RgbImage upright = orientImage(stored, orientation);
        for (Fit fit : {Fit::crop, Fit::pad, Fit::stretch}) {
            SCOPED_TRACE("orientation " + std::to_string(orientation) + ", fit " +
                         std::to_string(static_cast<int>(fit)));
            const FitPlan plan = planFit(upright.width, upright.height, fit, 5, 4);

            EXPECT_EQ(fitPhotograph(stored, orientation, plan).pixels,
                      fitPhotograph(upright, 1, plan).pixels);
        }
    }
}

} // namespace
} // namespace tessera
