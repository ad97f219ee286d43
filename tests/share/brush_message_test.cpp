#include "fuzz/fuzz_targets.h"
#include "share/brush_message.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace tessera {
namespace {

TEST(BrushMessage, ReadsEachKind) {
    struct Row {
        const char* message;
        BrushEvent::Kind kind;
        float u, v;
        int tool;
    };
    const Row rows[] = {
        {"down 0 1", BrushEvent::Down, 0.0f, 1.0f, 0},
        {"move 0.25 .5", BrushEvent::Move, 0.25f, 0.5f, 0},
        {"up 1.0000000 0.1234567", BrushEvent::Up, 1.0f, 0.1234567f, 0},
        {"tool 4", BrushEvent::Tool, 0.0f, 0.0f, BrushEvent::selectTool},
    };
    for (const Row& row : rows) {
        BrushEvent event;
        EXPECT_EQ(readBrushMessage(row.message, event), "") << row.message;
        EXPECT_EQ(event.kind, row.kind) << row.message;
        EXPECT_FLOAT_EQ(event.u, row.u) << row.message;
        EXPECT_FLOAT_EQ(event.v, row.v) << row.message;
        EXPECT_EQ(event.tool, row.tool) << row.message;
    }
}

TEST(BrushMessage, RefusesAnythingElseSayingWhy) {
    struct Row {
        const char* name;
        std::string message;
        const char* reason;
    };
    const Row rows[] = {
        {"empty", "", "empty message"},
        {"too long", "down 0.5 0.5" + std::string(53, ' '), "message is longer than 64 bytes"},
        {"unknown kind", "paint 0.5 0.5", "unknown message \"paint\""},
        {"kind in capitals", "DOWN 0 0", "unknown message \"DOWN\""},
        {"double space", "down  0.5 0.5", "words must be separated by single spaces"},
        {"trailing space", "up 0.5 0.5 ", "words must be separated by single spaces"},
        {"missing V", "move 0.5", "\"move\" needs U and V"},
        {"extra field", "up 0.5 0.5 0.5", "\"up\" takes only U and V"},
        {"sign", "down -0.5 0.5", "U \"-0.5\" is not a number such as 0.25"},
        {"exponent", "down 0.5 1e-1", "V \"1e-1\" is not a number such as 0.25"},
        {"nan", "down nan 0.5", "U \"nan\" is not a number such as 0.25"},
        {"two points", "down 0.5.1 0", "U \"0.5.1\" is not a number such as 0.25"},
        {"point alone", "down . 0", "U \".\" is not a number such as 0.25"},
        {"ten characters", "down 0.12345678 0", "U \"0.12345678\" is longer than 9 characters"},
        {"off the board", "move 0.5 1.0001", "V 1.0001 is off the board (0 to 1)"},
        {"control bytes", std::string("down \x01\xff 0", 9),
         "U \"??\" is not a number such as 0.25"},
        {"tool missing", "tool", "\"tool\" needs a tool number"},
        {"tool extra", "tool 1 2", "\"tool\" takes one number"},
        {"tool out of range", "tool 5", "tool \"5\" is not a tool from 0 to 4"},
        {"tool not a number", "tool x", "tool \"x\" is not a tool from 0 to 4"},
    };
    for (const Row& row : rows) {
        BrushEvent event;
        event.u = 0.75f;
        EXPECT_EQ(readBrushMessage(row.message, event), row.reason) << row.name;
        EXPECT_EQ(event.kind, BrushEvent::Down) << row.name << ": the event changed";
        EXPECT_EQ(event.u, 0.75f) << row.name << ": the event changed";
    }
}

// The fuzzer's committed seeds and regressions, through its own checks.
TEST(BrushMessage, FuzzInputsReadWithoutFault) {
    const char* sourceDir = std::getenv("TESSERA_SOURCE_DIR"); // set by ctest
    ASSERT_NE(sourceDir, nullptr);
    int replayed = 0;
    for (const char* kind : {"corpus", "regressions"}) {
        const auto folder =
            std::filesystem::path(sourceDir) / "tests/fuzz" / kind / "brush_message";
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            fuzzBrushMessage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 10);
}

} // namespace
} // namespace tessera
