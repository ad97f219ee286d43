#include "photo/photo_options.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(PhotoOptions, AMalformedValueIsNamedAndChangesNothing) {
    const std::string maxSize = "--max-size needs WxH with W and H from 1 to 8192, not '";
    const std::string fit = "--fit needs own, crop, pad or stretch, not '";
    const struct {
        const char* option;
        const char* value;
        std::string message;
    } rows[] = {
        {"--max-size", "0x600", maxSize + "0x600'"},
        {"--max-size", "800x8193", maxSize + "800x8193'"},
        {"--max-size", "800x", maxSize + "800x'"},
        {"--max-size", "800*600", maxSize + "800*600'"},
        {"--fit", "Crop", fit + "Crop'"},
        {"--fit", "", fit + "'"},
        {"--cells", "64x0",
         "--cells needs auto or WxH with W from 1 to 640 and H from 1 to 640, not '64x0'"},
        {"--colours", "5", "unknown option '--colours'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.option) + " " + row.value);
        PhotoOptions options;

        EXPECT_EQ(setPhotoOption(row.option, row.value, options), row.message);

        EXPECT_EQ(options.maxWidth, 1024);
        EXPECT_EQ(options.cellsAcross, 0);
        EXPECT_EQ(options.fit, Fit::own);
    }
    PhotoOptions direct; // fields set by a program are held to the same ranges
    direct.maxHeight = 0;
    EXPECT_EQ(photoOptionsError(direct), "--max-size needs WxH with W and H from 1 to 8192");
}

} // namespace
} // namespace tessera
