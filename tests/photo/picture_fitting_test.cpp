#include "image/box_resampler.h"
#include "image/orientation.h"
#include "photo/picture_fitting.h"
#include "test_image_files.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(BoxResampler, EachPixelIsTheAreaWeightedMeanOfWhatItCovers) {
    const RgbImage picture = letterImage("AZd/AZd"); // 65, 90, 100

    // Three columns into two, the middle one split half and half: (65 * 2 + 90) / 3 = 73
    // and (90 + 100 * 2) / 3 = 96.7.
    EXPECT_EQ(lettersOf(resampleBox(picture, {0, 0, 3, 2}, 2, 1)), "Ia");
    EXPECT_EQ(lettersOf(resampleBox(picture, {1, 0, 2, 2}, 1, 1)), "_");
    EXPECT_EQ(resampleBox(picture, {0, 0, 3, 2}, 3, 2).pixels, picture.pixels);
}

TEST(Orientation, EachTagTurnsTheStoredPictureUpright) {
    const RgbImage stored = letterImage("abc/def");
    const char* upright[] = {"abc/def",  "cba/fed",  "fed/cba",  "def/abc",
                             "ad/be/cf", "da/eb/fc", "fc/eb/da", "cf/be/ad"};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        EXPECT_EQ(lettersOf(orientImage(stored, orientation)), upright[orientation - 1])
            << "orientation " << orientation;
    }
}

TEST(PictureFitting, CropShowsTheCentreAndPadCentresThePhotographOnBlackBars) {
    const RgbImage wide = letterImage("abcdefgh/ijklmnop/qrstuvwx");
    EXPECT_EQ(lettersOf(fitPhotograph(wide, 1, planFit(8, 3, Fit::crop, 1024, 768))),
              "cdef/klmn/stuv");
    const RgbImage strip = letterImage("abcd");
    EXPECT_EQ(lettersOf(fitPhotograph(strip, 1, planFit(4, 1, Fit::pad, 1024, 768))),
              "..../abcd/....");
    const RgbImage tall = letterImage("a/b/c/d/e");
    EXPECT_EQ(lettersOf(fitPhotograph(tall, 1, planFit(1, 5, Fit::pad, 1024, 768))),
              "...a.../...b.../...c.../...d.../...e...");
}

// Fitting works on the stored picture and turns only the result; that must give what
// turning the whole photograph first would.
TEST(PictureFitting, TurningAfterScalingMatchesTurningFirst) {
    const RgbImage stored = letterImage("abcdefghijk/lmnopqrstuv/wxyzABCDEFG/HIJKLMNOPQR/"
                                        "STUVWXYZ012/3456789abcd/efghijklmno");
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
