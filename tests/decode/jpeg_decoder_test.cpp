#include "decode/image_decoder.h"
#include "test_image_files.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace tessera {
namespace {

std::vector<int> pixelAt(const RgbImage& image, int x, int y) {
    const std::size_t at = 3 * (static_cast<std::size_t>(y) * image.width + x);
    return {image.pixels[at], image.pixels[at + 1], image.pixels[at + 2]};
}

bool near(const std::vector<int>& found, const std::vector<int>& wanted) {
    for (std::size_t c = 0; c < wanted.size(); ++c) {
        if (std::abs(found[c] - wanted[c]) > 6) {
            return false;
        }
    }
    return true;
}

// Left half cyan ink alone; right half magenta and yellow (red) over half black.
TEST(JpegDecoder, ConvertsCmykAsEachPrintWorkflowStoresIt) {
    constexpr int width = 32;
    constexpr int height = 16;
    std::vector<std::uint8_t> inks;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool left = x < width / 2;
            inks.insert(inks.end(), {std::uint8_t(left ? 255 : 0), std::uint8_t(left ? 0 : 255),
                                     std::uint8_t(left ? 0 : 255), std::uint8_t(left ? 0 : 128)});
        }
    }
    for (const CmykStorage storage :
         {CmykStorage::plain, CmykStorage::adobe, CmykStorage::adobeYcck}) {
        SCOPED_TRACE(static_cast<int>(storage));
        const std::vector<unsigned char> bytes = encodeCmykJpeg(width, height, inks, storage);
        DecodedPhoto photo;
        ASSERT_EQ(decodePhoto(
                      bytes.data(), bytes.size(), [](const ScaleOffer&) { return false; }, photo),
                  "");
        ASSERT_EQ(photo.image.width, width);
        ASSERT_EQ(photo.image.height, height);
        ASSERT_EQ(photo.image.pixels.size(), std::size_t{width * height * 3});
        EXPECT_TRUE(near(pixelAt(photo.image, 4, 8), {0, 255, 255}))
            << testing::PrintToString(pixelAt(photo.image, 4, 8));
        EXPECT_TRUE(near(pixelAt(photo.image, 27, 8), {127, 0, 0}))
            << testing::PrintToString(pixelAt(photo.image, 27, 8));
    }
}

} // namespace
} // namespace tessera
