#include "photo/exif_orientation.h"
#include "photo/make_picture_set.h"
#include "photo/photo_file.h"
#include "photo/picture_set_buffers.h"
#include "photo/picture_set_files.h"
#include "picture/pnm_reader.h"
#include "scratch_folder.h"
#include "test_image_files.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace tessera {
namespace {

// Four quadrants: red top left, green top right, blue bottom left, white bottom right.
RgbImage quadrants(int width, int height) {
    RgbImage image = solidImage(width, height, 230, 30, 30);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            if (y < height / 2) {
                if (right) {
                    setPixel(image, x, y, 30, 200, 40);
                }
            } else {
                right ? setPixel(image, x, y, 250, 250, 250) : setPixel(image, x, y, 40, 50, 220);
            }
        }
    }
    return image;
}

enum Quadrant { red, green, blue, white };

// Which colour lies at the middle of each quadrant of the picture, top left first;
// -1 where none is near (a JPEG moves colours a little).
std::vector<int> quadrantColours(const RgbImage& picture) {
    const int colours[4][3] = {{230, 30, 30}, {30, 200, 40}, {40, 50, 220}, {250, 250, 250}};
    std::vector<int> found;
    for (int y : {picture.height / 4, picture.height * 3 / 4}) {
        for (int x : {picture.width / 4, picture.width * 3 / 4}) {
            const std::uint8_t* p =
                picture.pixels.data() + 3 * (static_cast<std::size_t>(y) * picture.width + x);
            int match = -1;
            for (int c = 0; c < 4; ++c) {
                if (std::abs(p[0] - colours[c][0]) + std::abs(p[1] - colours[c][1]) +
                        std::abs(p[2] - colours[c][2]) <
                    30) {
                    match = c;
                }
            }
            found.push_back(match);
        }
    }
    return found;
}

PhotoOptions wholePicture() {
    PhotoOptions options;
    options.fit = Fit::stretch;
    options.regions = 4;
    options.cellsAcross = 4;
    options.cellsDown = 4;
    return options;
}

TEST(MakePictureSet, AJpegsOrientationTagTurnsItUpright) {
    const RgbImage stored = quadrants(32, 16);
    const struct {
        const char* name;
        std::vector<unsigned char> app1;
        int width, height;
        std::vector<int> colours;
    } rows[] = {
        {"no tag", {}, 32, 16, {red, green, blue, white}},
        {"3, big-endian", exifWithOrientation(3, true), 32, 16, {white, blue, green, red}},
        {"3, little-endian", exifWithOrientation(3, false), 32, 16, {white, blue, green, red}},
        {"6: a quarter clockwise", exifWithOrientation(6, true), 16, 32, {blue, red, white, green}},
        {"8: a quarter anticlockwise",
         exifWithOrientation(8, false),
         16,
         32,
         {green, white, red, blue}},
        {"9 is no orientation", exifWithOrientation(9, true), 32, 16, {red, green, blue, white}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<unsigned char> jpeg = encodeJpeg(stored, row.app1);
        PictureSet set;

        ASSERT_EQ(makePictureSetFromBytes(jpeg.data(), jpeg.size(), wholePicture(), set), "");

        EXPECT_EQ(set.picture.width, row.width);
        EXPECT_EQ(set.picture.height, row.height);
        EXPECT_EQ(set.photoWidth, row.width);
        EXPECT_EQ(quadrantColours(set.picture), row.colours);
    }
}

TEST(ExifOrientation, ABrokenBlockCountsAsNoOrientation) {
    const std::vector<unsigned char> good = exifWithOrientation(6, true);
    ASSERT_EQ(exifOrientation(good.data(), good.size()), 6);
    const auto changed = [&](std::size_t at, unsigned char value) {
        std::vector<unsigned char> block = good;
        block[at] = value;
        return block;
    };
    const struct {
        const char* name;
        std::vector<unsigned char> block;
    } rows[] = {
        {"cut inside the entry", std::vector<unsigned char>(good.begin(), good.begin() + 22)},
        {"cut inside the header", std::vector<unsigned char>(good.begin(), good.begin() + 9)},
        {"not Exif", changed(0, 'e')},
        {"unknown byte order", changed(6, 'X')},
        {"not TIFF", changed(9, 43)},
        {"directory past the end", changed(13, 200)},
        {"an empty directory", changed(15, 0)},
        {"the tag as a LONG", changed(19, 4)},
        {"orientation 0", changed(25, 0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(exifOrientation(row.block.data(), row.block.size()), 1);
    }
    // A JPEG with a broken block still decodes, as stored.
    const std::vector<unsigned char> jpeg = encodeJpeg(quadrants(32, 16), rows[0].block);
    PictureSet set;
    ASSERT_EQ(makePictureSetFromBytes(jpeg.data(), jpeg.size(), wholePicture(), set), "");
    EXPECT_EQ(set.picture.width, 32);
}

TEST(MakePictureSet, ALargeJpegIsScaledDownAndGivesTheSameBytesEachTime) {
    // 4000 x 3000 would be decoded at 3/8 (1500 x 1125), then averaged down.
    const std::vector<unsigned char> jpeg = encodeJpeg(quadrants(4000, 3000));
    PictureSet first;
    PictureSet second;

    ASSERT_EQ(makePictureSetFromBytes(jpeg.data(), jpeg.size(), PhotoOptions{}, first), "");
    ASSERT_EQ(makePictureSetFromBytes(jpeg.data(), jpeg.size(), PhotoOptions{}, second), "");

    EXPECT_EQ(first.picture.width, 1024);
    EXPECT_EQ(first.picture.height, 768);
    EXPECT_EQ(first.photoWidth, 4000);
    EXPECT_EQ(quadrantColours(first.picture), (std::vector<int>{red, green, blue, white}));
    EXPECT_EQ(first.picture.pixels, second.picture.pixels);
    EXPECT_EQ(first.mask, second.mask);
}

// The buffers handed to the program must be what its readers make of the written files.
TEST(PictureSetBuffers, MatchWhatTheReadersGiveForTheWrittenFiles) {
    ScratchFolder folder;
    RgbImage photo = quadrants(40, 30);
    setPixel(photo, 0, 0, 10, 90, 90); // a first byte the writer must nudge
    writePng(folder.path("photo.png"), photo);
    PhotoOptions options = wholePicture();
    options.cellsAcross = 5;
    options.cellsDown = 3;
    PictureSet set;
    ASSERT_EQ(makePictureSet(folder.path("photo.png").c_str(), options, set), "");
    ASSERT_EQ(writePictureSet(folder.path("set"), set), "");

    const PictureSetBuffers buffers = pictureSetBuffers(set);

    Image picture;
    Image mask;
    RegionMap map;
    ASSERT_EQ(loadPpm(folder.path("set.ppm").c_str(), picture), "");
    ASSERT_EQ(loadPgm(folder.path("set_mask.pgm").c_str(), mask), "");
    ASSERT_EQ(loadRegionMap(folder.path("set.map").c_str(), map), "");
    EXPECT_EQ(buffers.picture.width, picture.width);
    EXPECT_EQ(buffers.picture.height, picture.height);
    EXPECT_EQ(buffers.picture.pixels, picture.pixels);
    EXPECT_EQ(buffers.mask.width, 5);
    EXPECT_EQ(buffers.mask.height, 3);
    EXPECT_EQ(buffers.mask.pixels, mask.pixels);
    EXPECT_EQ(buffers.regionMap.regionCount, map.regionCount);
    ASSERT_EQ(buffers.regionMap.table.size(), map.table.size());
    for (const auto& [key, region] : map.table) {
        const Region& made = buffers.regionMap.table.at(key);
        EXPECT_EQ((std::vector<int>{made.number, made.red, made.green, made.blue}),
                  (std::vector<int>{region.number, region.red, region.green, region.blue}));
    }
}

std::vector<unsigned char> pngHeaderOnly(std::uint32_t width, std::uint32_t height) {
    std::vector<unsigned char> bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                                     0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    for (std::uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes.push_back(static_cast<unsigned char>(value >> shift));
        }
    }
    bytes.insert(bytes.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0}); // RGB, 8 bits; CRC not checked
    return bytes;
}

TEST(MakePictureSet, RefusesWhatItCannotMakeWithOneMessage) {
    ScratchFolder folder;
    writePng(folder.path("tiny.png"), solidImage(3, 1, 90, 90, 90));
    writePng(folder.path("square.png"), solidImage(100, 100, 90, 90, 90));
    const std::vector<unsigned char> wide = pngHeaderOnly(65536, 1);
    const std::vector<unsigned char> huge = pngHeaderOnly(20000, 15000);
    const std::vector<unsigned char> text{'h', 'e', 'l', 'l', 'o'};
    PhotoOptions twoRegions;
    twoRegions.regions = 2;
    twoRegions.cellsAcross = 1;
    twoRegions.cellsDown = 1;
    PhotoOptions tallGrid;
    tallGrid.cellsDown = 80;
    PictureSet set;

    EXPECT_EQ(makePictureSetFromBytes(wide.data(), wide.size(), PhotoOptions{}, set),
              "picture is 65536 x 1 pixels; at most 65535 a side is supported");
    EXPECT_EQ(makePictureSetFromBytes(huge.data(), huge.size(), PhotoOptions{}, set),
              "picture is 20000 x 15000 pixels; decoding it would take more than 1 GiB");
    EXPECT_EQ(makePictureSetFromBytes(text.data(), text.size(), PhotoOptions{}, set),
              "not a JPEG or PNG image");
    // 3 x 1 cropped to 4:3 is a single pixel; a 100 x 100 square becomes 100 x 75.
    EXPECT_EQ(makePictureSet(folder.path("tiny.png").c_str(), twoRegions, set),
              "the picture made is 1 x 1 pixels: fewer pixels than --regions 2");
    EXPECT_EQ(makePictureSet(folder.path("square.png").c_str(), tallGrid, set),
              "the picture made is 100 x 75 pixels: too small for --cells 64x80");
    EXPECT_EQ(makePictureSet(folder.path("none.png").c_str(), PhotoOptions{}, set),
              "cannot open: No such file or directory");
    EXPECT_TRUE(set.picture.pixels.empty());
}

TEST(PhotoFile, TellsAPhotographByItsBytesNotItsName) {
    ScratchFolder folder;
    writePng(folder.path("picture.jpg"), solidImage(2, 2, 0, 0, 0));
    writeJpeg(folder.path("picture"), solidImage(2, 2, 0, 0, 0));
    writeBytes(folder.path("fruit.png"), {'P', '6', '\n'});
    const unsigned char almostPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a};

    EXPECT_EQ(photoFormatOfFile(folder.path("picture.jpg").c_str()), PhotoFormat::png);
    EXPECT_EQ(photoFormatOfFile(folder.path("picture").c_str()), PhotoFormat::jpeg);
    EXPECT_EQ(photoFormatOfFile(folder.path("fruit.png").c_str()), PhotoFormat::unknown);
    EXPECT_EQ(photoFormatOfFile(folder.path("missing").c_str()), PhotoFormat::unknown);
    EXPECT_EQ(photoFormatOf(almostPng, sizeof almostPng), PhotoFormat::unknown);
}

} // namespace
} // namespace tessera
