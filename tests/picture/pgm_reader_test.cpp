#include "picture/pnm_reader.h"
#include "support/byte_stream.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessera {
namespace {

using Bytes = std::vector<unsigned char>;

Image parse(const std::string& bytes) {
    test::ByteStream in(bytes);
    Image image;
    EXPECT_EQ(parsePgm(in.get(), image), "");
    return image;
}

TEST(PgmMask, RowsAreStoredBottomUp) {
    const Image image = parse("P5\n1\n2\n255\n\x46\x5a");
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels, (Bytes{90, 70}));
}

TEST(PgmMask, CellsRunLeftToRightOneBytePerCell) {
    EXPECT_EQ(parse("P5 3 2 65535\nabcdef").pixels, (Bytes{'d', 'e', 'f', 'a', 'b', 'c'}));
}

TEST(PgmMask, FirstCellMayHoldAWhiteSpaceKey) {
    EXPECT_EQ(parse("P5\n2 1\n255\n\n ").pixels, (Bytes{10, 32}));
}

TEST(PgmMask, MaskCutShortIsRefused) {
    test::ByteStream in(std::string("P5\n2 2\n255\n\x01\x02\x03"));
    Image image;
    EXPECT_EQ(parsePgm(in.get(), image), "pgm data short\n");
    EXPECT_TRUE(image.pixels.empty());
}

TEST(PgmFile, ReadPgmReportsSize) {
    test::TempDir dir;
    int width = 0;
    int height = 0;
    EXPECT_EQ(readPgm(dir.write("m.pgm", "P5 2 1 255\n\x07\x08").c_str(), width, height),
              (Bytes{7, 8}));
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 1);
}

TEST(PgmFileDeathTest, MissingFileEndsTheProgram) {
    test::TempDir dir;
    int width, height;
    EXPECT_EXIT(readPgm(dir.path("absent.pgm").c_str(), width, height),
                testing::ExitedWithCode(255),
                "^error opening pgm file\n: No such file or directory\n$");
}

} // namespace
} // namespace tessera
