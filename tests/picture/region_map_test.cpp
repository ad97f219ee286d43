#include "picture/region_map.h"
#include "support/byte_stream.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessera {
namespace {

const std::string headerFault = "error loading header from map file\n";
const std::string recordFault = "error loading region data from map file\n";

std::string parse(const std::string& text, RegionMap& map) {
    test::ByteStream in(text);
    return parseRegionMap(in.get(), map);
}

void expectColour(const RegionTable& table, int key, int red, int green, int blue) {
    SCOPED_TRACE("key " + std::to_string(key));
    ASSERT_EQ(table.count(key), 1u);
    const Region& region = table.at(key);
    EXPECT_EQ(region.red, red);
    EXPECT_EQ(region.green, green);
    EXPECT_EQ(region.blue, blue);
}

TEST(RegionMapFile, ReadsEveryRecordUnderItsHexKey) {
    RegionMap map;
    ASSERT_EQ(parse("regions 2\nbackground 7\n0 1f 200 30 30\n1 a0 250 220 40\n", map), "");
    EXPECT_EQ(map.regionCount, 2);
    EXPECT_EQ(map.background, 7);
    EXPECT_EQ(map.table.size(), 2u);
    expectColour(map.table, 31, 200, 30, 30);
    expectColour(map.table, 160, 250, 220, 40);
    EXPECT_EQ(map.table.at(160).number, 1);
}

TEST(RegionMapFile, NoRecordsAreReadForACountOfZeroOrLess) {
    for (const char* text : {"regions 0\nbackground 9\n", "regions -3\nbackground 0\n1 2 3 4 5"}) {
        RegionMap map;
        EXPECT_EQ(parse(text, map), "") << text;
        EXPECT_TRUE(map.table.empty()) << text;
    }
}

TEST(RegionMapFile, RepeatedKeyTakesTheLaterRecord) {
    RegionMap map;
    ASSERT_EQ(parse("regions 2\nbackground 0\n0 1f 1 2 3\n5 1f 4 5 6\n", map), "");
    EXPECT_EQ(map.table.size(), 1u);
    expectColour(map.table, 31, 4, 5, 6);
    EXPECT_EQ(map.table.at(31).number, 5);
}

TEST(RegionMapFile, ColourFieldsKeepTheirLowByte) {
    RegionMap map;
    ASSERT_EQ(parse("regions 2\nbackground 0\n0 ff 255 255 255\n0 1 256 -1 511\n", map), "");
    expectColour(map.table, 255, 255, 255, 255);
    expectColour(map.table, 1, 0, 255, 255);
}

// Keys are read as %x reads them into an int: up to 32 bits, kept as the int's bits.
TEST(RegionMapFile, KeysTakeEveryFormOfHexadecimalUpTo32Bits) {
    const std::vector<std::pair<std::string, int>> keys = {
        {"0x1f", 31},          {"0X1F", 31},          {"+1f", 31},      {"-1", -1},
        {"7fffffff", INT_MAX}, {"80000000", INT_MIN}, {"ffffffff", -1}, {"0x", 0}};
    for (const auto& [text, key] : keys) {
        RegionMap map;
        EXPECT_EQ(parse("regions 1\nbackground 0\n0 " + text + " 1 2 3\n", map), "") << text;
        EXPECT_EQ(map.table.count(key), 1u) << text;
    }
}

TEST(RegionMapFile, DecimalFieldsTakeTheWholeRangeOfAnInt) {
    RegionMap map;
    ASSERT_EQ(parse("regions 1\nbackground -2147483648\n0 5 -2147483648 2147483647 -1\n", map), "");
    expectColour(map.table, 5, 0, 255, 255);
}

TEST(RegionMapFile, WhiteSpaceBetweenFieldsIsFree) {
    for (const char* text :
         {"regions 1 background 0 0 5 1 2 3", "regions 1\r\nbackground 0\r\n0 5 1 2 3\r\n",
          "regions1\nbackground\t0\n0\n5\n1\n2\n3"}) {
        RegionMap map;
        EXPECT_EQ(parse(text, map), "") << text;
        expectColour(map.table, 5, 1, 2, 3);
    }
}

TEST(RegionMapFile, HeaderFaults) {
    for (const char* text :
         {"", "Regions 1\nbackground 0\n0 5 1 2 3\n", "\nregions 1\nbackground 0\n0 5 1 2 3\n",
          " regions 0\nbackground 0\n", "regions x\nbackground 0\n", "regions 0\nbackgrnd 0\n",
          "regions 0\n", "regions 0\nbackground\n", "regions 99999999999\nbackground 0\n"}) {
        RegionMap map;
        EXPECT_EQ(parse(text, map), headerFault) << text;
    }
}

TEST(RegionMapFile, RecordFaults) {
    const std::string header = "regions 3\nbackground 0\n0 1 2 3 4\n0 2 2 3 4\n";
    for (const std::string& text : {
             header,                           // a record short of the count
             header + "0 3 2 3\n",             // a field short
             header + "0 g3 2 3 4\n",          // key not hexadecimal
             header + "0 100000000 2 3 4\n",   // key beyond 32 bits
             header + "0 3 2 3 99999999999\n", // colour beyond an int
             header + "0 3 2 3 -2147483649\n", // one below the most negative int
             header + "0 3 2 3 2147483648\n"   // one above the largest
         }) {
        RegionMap map;
        EXPECT_EQ(parse(text, map), recordFault) << text;
    }
}

TEST(RegionMapFile, ABoardLineAfterTheRecordsGivesTheBoardAndNothingElseIsRead) {
    const std::string records = "regions 1\nbackground 0\n0 1 2 3 4\n";
    const struct {
        const char* name;
        std::string trailer;
        const char* fault;
        int width, height;
    } rows[] = {
        {"no board line", "", "", 640, 480},
        {"a portrait board", "board 480 640\n", "", 480, 640},
        {"other text, as ever unread", "# made by hand\nboard 1 1\n", "", 640, 480},
        {"a side of 0", "board 0 640\n", "error loading board size from map file\n", 640, 480},
        {"a side too long", "board 640 6401", "error loading board size from map file\n", 640, 480},
        {"one side only", "board 480", "error loading board size from map file\n", 640, 480},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RegionMap map;
        EXPECT_EQ(parse(records + row.trailer, map), row.fault);
        if (*row.fault == '\0') {
            EXPECT_EQ(map.boardWidth, row.width);
            EXPECT_EQ(map.boardHeight, row.height);
        }
    }
}

TEST(RegionMapFile, HugeCountWithFewRecordsFailsAtTheFirstMissingOne) {
    RegionMap map;
    EXPECT_EQ(parse("regions 2147483647\nbackground 0\n0 1 2 3 4\n", map), recordFault);
    EXPECT_EQ(map.table.size(), 1u);
}

TEST(RegionMapFile, LoadKeepsTheSystemsReasonOrSaysInvalid) {
    test::TempDir dir;
    RegionMap map;
    EXPECT_EQ(loadRegionMap(dir.path("absent.map").c_str(), map), "error opening map file\n");
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(loadRegionMap(dir.write("bad.map", "regions 1\n").c_str(), map), headerFault);
    EXPECT_EQ(errno, EINVAL);
    RegionMap good;
    EXPECT_EQ(readRegionMap(dir.write("good.map", "regions 0\nbackground 0\n").c_str(), good), 1);
}

TEST(RegionMapFileDeathTest, ShortFileEndsTheProgram) {
    test::TempDir dir;
    RegionMap map;
    const std::string path = dir.write("short.map", "regions 3\nbackground 0\n0 1 2 3 4\n");
    EXPECT_EXIT(readRegionMap(path.c_str(), map), testing::ExitedWithCode(255),
                "^error loading region data from map file\n: Invalid argument\n$");
}

} // namespace
} // namespace tessera
