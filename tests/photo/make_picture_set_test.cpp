#include "decode/exif_orientation.h"
#include "decode/photo_file.h"
#include "photo/make_picture_set.h"
#include "photo/picture_set_buffers.h"
#include "photo/picture_set_files.h"
#include "picture/pnm_reader.h"
#include "scratch_folder.h"
#include "test_image_files.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

const int quadrantColours[4][3] = {{230, 30, 30}, {30, 200, 40}, {40, 50, 220}, {250, 250, 250}};

// Red top left, green top right, blue bottom left, white bottom right.
RgbImage quadrants(int width, int height) {
    RgbImage image = solidImage(width, height, 0, 0, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int* c = quadrantColours[(y >= height / 2) * 2 + (x >= width / 2)];
            setPixel(image, x, y, c[0], c[1], c[2]);
        }
    }
    return image;
}

// The colour at the middle of each quadrant of the picture, as "RG/BW".
std::string quadrantsOf(const RgbImage& picture) {
    std::string found;
    for (int y : {picture.height / 4, picture.height * 3 / 4}) {
        found += found.empty() ? "" : "/";
        for (int x : {picture.width / 4, picture.width * 3 / 4}) {
            const std::uint8_t* p =
                picture.pixels.data() + 3 * (static_cast<std::size_t>(y) * picture.width + x);
            found += "BGRW"[(p[0] > 128) * 2 + (p[1] > 128)];
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
    const struct {
        const char* name;
        std::vector<unsigned char> app1;
        int width;
        const char* quadrants;
    } rows[] = {
        {"no tag", {}, 32, "RG/BW"},
        {"3, big-endian", exifWithOrientation(3, true), 32, "WB/GR"},
        {"3, little-endian", exifWithOrientation(3, false), 32, "WB/GR"},
        {"6: a quarter clockwise", exifWithOrientation(6, true), 16, "BR/WG"},
        {"8: a quarter anticlockwise", exifWithOrientation(8, false), 16, "GW/RB"},
        {"9 is no orientation", exifWithOrientation(9, true), 32, "RG/BW"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<unsigned char> jpeg = encodeJpeg(quadrants(32, 16), row.app1);
        PictureSet set;

        ASSERT_EQ(makePictureSetFromBytes(jpeg.data(), jpeg.size(), wholePicture(), set), "");

        EXPECT_EQ(set.picture.width, row.width);
        EXPECT_EQ(set.picture.height, 48 - row.width); // 32 x 16 or 16 x 32
        EXPECT_EQ(set.photoWidth, row.width);
        EXPECT_EQ(quadrantsOf(set.picture), row.quadrants);
    }
}

TEST(ExifOrientation, ABrokenBlockCountsAsNoOrientation) {
    const std::vector<unsigned char> good = exifWithOrientation(6, true);
    ASSERT_EQ(exifOrientation(good.data(), good.size()), 6);
    for (const auto& [at, value] :
         std::vector<std::pair<int, int>>{{0, 'e'},   // not Exif
                                          {6, 'X'},   // no byte order
                                          {9, 43},    // not TIFF
                                          {13, 200},  // the directory lies past the end
                                          {15, 0},    // the directory is empty
                                          {19, 4},    // the tag is a LONG
                                          {25, 0}}) { // orientation 0
        std::vector<unsigned char> block = good;
        block[at] = static_cast<unsigned char>(value);
        EXPECT_EQ(exifOrientation(block.data(), block.size()), 1) << "byte " << at;
    }
    for (std::size_t length : {9, 22}) { // cut inside the header, inside the entry
        EXPECT_EQ(exifOrientation(good.data(), length), 1) << length << " bytes";
    }
    // A JPEG with a broken block still decodes, as stored.
    const std::vector<unsigned char> jpeg =
        encodeJpeg(quadrants(32, 16), std::vector<unsigned char>(good.begin(), good.end() - 10));
    PictureSet set;
    ASSERT_EQ(makePictureSetFromBytes(jpeg.data(), jpeg.size(), wholePicture(), set), "");
    EXPECT_EQ(quadrantsOf(set.picture), "RG/BW");
}

TEST(MakePictureSet, ALargeJpegIsScaledDownAndGivesTheSameBytesEachTime) {
    // Decoded at 3/8 (1500 x 1125), then averaged down.
    const std::vector<unsigned char> jpeg = encodeJpeg(quadrants(4000, 3000));
    PictureSet first;
    PictureSet second;

    ASSERT_EQ(makePictureSetFromBytes(jpeg.data(), jpeg.size(), PhotoOptions{}, first), "");
    ASSERT_EQ(makePictureSetFromBytes(jpeg.data(), jpeg.size(), PhotoOptions{}, second), "");

    EXPECT_EQ(first.picture.width, 1024);
    EXPECT_EQ(first.picture.height, 768);
    EXPECT_EQ(first.photoWidth, 4000);
    EXPECT_EQ(quadrantsOf(first.picture), "RG/BW");
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
    EXPECT_EQ(buffers.picture.width, 40);
    EXPECT_EQ(buffers.picture.pixels, picture.pixels);
    EXPECT_EQ(buffers.mask.width, 5);
    EXPECT_EQ(buffers.mask.pixels, mask.pixels);
    EXPECT_EQ(buffers.regionMap.regionCount, map.regionCount);
    const auto fields = [](const RegionTable& table) {
        std::vector<int> all;
        for (const auto& [key, region] : table) {
            all.insert(all.end(), {key, region.number, region.red, region.green, region.blue});
        }
        return all;
    };
    EXPECT_EQ(fields(buffers.regionMap.table), fields(map.table));
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
    const std::vector<unsigned char> huge = pngHeaderOnly(20000, 15000);
    PhotoOptions twoRegions;
    twoRegions.regions = 2;
    twoRegions.cellsAcross = 1;
    twoRegions.cellsDown = 1;
    twoRegions.fit = Fit::crop;
    PhotoOptions tallGrid;
    tallGrid.cellsAcross = 64;
    tallGrid.cellsDown = 80;
    tallGrid.fit = Fit::crop;
    PictureSet set;

    EXPECT_EQ(makePictureSetFromBytes(huge.data(), huge.size(), PhotoOptions{}, set),
              "picture is 20000 x 15000 pixels; decoding it would take more than 1 GiB");
    // 3 x 1 cropped to 4:3 is a single pixel; a 100 x 100 square becomes 100 x 75.
    EXPECT_EQ(makePictureSet(folder.path("tiny.png").c_str(), twoRegions, set),
              "the picture made is 1 x 1 pixels: fewer pixels than --regions 2");
    EXPECT_EQ(makePictureSet(folder.path("square.png").c_str(), tallGrid, set),
              "the picture made is 100 x 75 pixels: too small for --cells 64x80");
    EXPECT_TRUE(set.picture.pixels.empty());
}

TEST(PhotoFile, TellsAPhotographByItsBytesNotItsName) {
    ScratchFolder folder;
    writePng(folder.path("picture.jpg"), solidImage(2, 2, 0, 0, 0));
    writeJpeg(folder.path("picture"), solidImage(2, 2, 0, 0, 0));
    writeBytes(folder.path("fruit.png"), {'P', '6', '\n'});

    EXPECT_EQ(photoFormatOfFile(folder.path("picture.jpg").c_str()), PhotoFormat::png);
    EXPECT_EQ(photoFormatOfFile(folder.path("picture").c_str()), PhotoFormat::jpeg);
    EXPECT_EQ(photoFormatOfFile(folder.path("fruit.png").c_str()), PhotoFormat::unknown);
    EXPECT_EQ(photoFormatOfFile(folder.path("fruit").c_str()), PhotoFormat::unknown);
}

} // namespace
} // namespace tessera
