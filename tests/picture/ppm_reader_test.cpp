#include "picture/pnm_reader.h"
#include "support/byte_stream.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessera {
namespace {

using Bytes = std::vector<unsigned char>;

Image parse(const std::string& bytes) {
    test::ByteStream in(bytes);
    Image image;
    EXPECT_EQ(parsePpm(in.get(), image), "");
    return image;
}

TEST(PpmPicture, OnePixelBecomesOpaqueRgba) {
    const Image image = parse("P6\n1\n1\n255\n\x28\x32\x3c");
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(image.pixels, (Bytes{40, 50, 60, 255}));
}

TEST(PpmPicture, RowsAreStoredBottomUpAndPixelsLeftToRight) {
    const Image image = parse("P6 2 2 255\nabcdef"
                              "ghijkl");
    EXPECT_EQ(image.pixels, (Bytes{'g', 'h', 'i', 255, 'j', 'k', 'l', 255, //
                                   'a', 'b', 'c', 255, 'd', 'e', 'f', 255}));
}

TEST(PpmPicture, SamplesAreStoredAsTheyStandWhateverTheMaximumValue) {
    EXPECT_EQ(parse("P6 1 1 15\n\x0f\x0f\x0f").pixels, (Bytes{15, 15, 15, 255}));
    EXPECT_EQ(parse("P6 1 1 65535\n\x01\x02\x03\x04").pixels, (Bytes{1, 2, 3, 255}));
}

TEST(PpmPicture, HeaderNumbersMaySitInAnyMixOfWhiteSpace) {
    EXPECT_EQ(parse("P6 \t1\r\n\v1\f255\tabc").pixels, (Bytes{'a', 'b', 'c', 255}));
}

TEST(PpmPicture, OneWhiteSpaceByteEndsTheHeaderAndTheNextIsASample) {
    // As netpbm writes it, with samples that look like white space: 10, 9, 11 and 12, 13, 32.
    EXPECT_EQ(parse("P6\n2 1\n255\n\n\t\v\f\r ").pixels, (Bytes{10, 9, 11, 255, 12, 13, 32, 255}));
    EXPECT_EQ(parse("P6 1 1 255\r\n\x01\x02").pixels, (Bytes{'\n', 1, 2, 255}));
}

TEST(PpmPicture, FileCutShortIsRefusedAndExtraBytesAreIgnored) {
    test::ByteStream in(std::string("P6\n2 1\n255\nabcde"));
    Image image;
    EXPECT_EQ(parsePpm(in.get(), image), "ppm data short\n");
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_EQ(parse("P6 1 1 255\nabcdef").pixels, (Bytes{'a', 'b', 'c', 255}));
}

TEST(PpmFile, UnopenableFileKeepsTheSystemsReason) {
    test::TempDir dir;
    Image image;
    EXPECT_EQ(loadPpm(dir.path("absent.ppm").c_str(), image), "error opening ppm file\n");
    EXPECT_EQ(errno, ENOENT);
}

TEST(PpmFile, BadContentIsAnInvalidArgument) {
    test::TempDir dir;
    Image image;
    errno = 0;
    EXPECT_EQ(loadPpm(dir.write("bad.ppm", "P6 0 1 255\n").c_str(), image), "ppm width invalid\n");
    EXPECT_EQ(errno, EINVAL);
}

TEST(PpmFile, ReadPpmReportsSizeAndDepth) {
    test::TempDir dir;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    const Bytes pixels =
        readPpm(dir.write("pic.ppm", "P6 1 2 255\nabcdef").c_str(), width, height, bitsPerPixel);
    EXPECT_EQ(pixels, (Bytes{'d', 'e', 'f', 255, 'a', 'b', 'c', 255}));
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(bitsPerPixel, 32);
}

TEST(PpmFileDeathTest, MissingFileEndsTheProgramWithTheSystemsReason) {
    test::TempDir dir;
    int width, height, bitsPerPixel;
    EXPECT_EXIT(readPpm(dir.path("absent.ppm").c_str(), width, height, bitsPerPixel),
                testing::ExitedWithCode(255),
                "^error opening ppm file\n: No such file or directory\n$");
}

TEST(PpmFileDeathTest, MaskGivenAsPictureEndsTheProgram) {
    test::TempDir dir;
    int width, height, bitsPerPixel;
    EXPECT_EXIT(
        readPpm(dir.write("mask.pgm", "P5 1 1 255\nx").c_str(), width, height, bitsPerPixel),
        testing::ExitedWithCode(255), "^ppm type not P6\n: Invalid argument\n$");
}

} // namespace
} // namespace tessera
