#include "photo/photo_options.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(PhotoOptions, EachOptionSetsItsFields) {
    PhotoOptions options;

    ASSERT_EQ(setPhotoOption("--max-size", "800x600", options), "");
    ASSERT_EQ(setPhotoOption("--fit", "pad", options), "");
    ASSERT_EQ(setPhotoOption("--cells", "32x24", options), "");
    ASSERT_EQ(setPhotoOption("--regions", "7", options), "");

    EXPECT_EQ(options.maxWidth, 800);
    EXPECT_EQ(options.maxHeight, 600);
    EXPECT_EQ(options.fit, Fit::pad);
    EXPECT_EQ(options.cellsAcross, 32);
    EXPECT_EQ(options.cellsDown, 24);
    EXPECT_EQ(options.regions, 7);
    ASSERT_EQ(setPhotoOption("--fit", "stretch", options), "");
    EXPECT_EQ(options.fit, Fit::stretch);
    ASSERT_EQ(setPhotoOption("--max-size", "8192x1", options), "");
    EXPECT_EQ(photoOptionsError(options), "");
}

TEST(PhotoOptions, AMalformedValueIsNamedAndChangesNothing) {
    const std::string maxSize = "--max-size needs WxH with W and H from 1 to 8192, not '";
    const std::string fit = "--fit needs crop, pad or stretch, not '";
    const struct {
        const char* option;
        const char* value;
        std::string message;
    } rows[] = {
        {"--max-size", "0x600", maxSize + "0x600'"},
        {"--max-size", "800x8193", maxSize + "800x8193'"},
        {"--max-size", "800x", maxSize + "800x'"},
        {"--max-size", "800*600", maxSize + "800*600'"},
        {"--max-size", "", maxSize + "'"},
        {"--fit", "Crop", fit + "Crop'"},
        {"--fit", "fill", fit + "fill'"},
        {"--fit", "", fit + "'"},
        {"--cells", "64x0",
         "--cells needs WxH with W from 1 to 640 and H from 1 to 480, not "
         "'64x0'"},
        {"--colours", "5", "unknown option '--colours'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.option) + " " + row.value);
        PhotoOptions options;

        EXPECT_EQ(setPhotoOption(row.option, row.value, options), row.message);

        EXPECT_EQ(options.maxWidth, 1024);
        EXPECT_EQ(options.cellsAcross, 64);
        EXPECT_EQ(options.fit, Fit::crop);
    }
}

TEST(PhotoOptions, FieldsSetDirectlyAreCheckedAsTheOptionsWouldBe) {
    PhotoOptions options;
    options.maxHeight = 0;
    EXPECT_EQ(photoOptionsError(options), "--max-size needs WxH with W and H from 1 to 8192");
    options = PhotoOptions{};
    options.regions = 256;
    EXPECT_EQ(photoOptionsError(options), "--regions needs a whole number from 1 to 255");
    options = PhotoOptions{};
    options.fit = static_cast<Fit>(7);
    EXPECT_EQ(photoOptionsError(options), "--fit needs crop, pad or stretch");
}

} // namespace
} // namespace tessera
