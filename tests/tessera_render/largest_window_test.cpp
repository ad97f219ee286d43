#include "support/temp_dir.h"
#include "tessera_render/largest_window.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

using test::TempDir;

const std::string header = "tessera-replay 2\nwindow 640 480\npicture default\n"
                           "canvas clear-after 0 max-shapes 0 reference-drawing 0\n"
                           "checksum 627e750f5e677734\nevents\n";

struct Recorded {
    const char* name;
    std::string events;
    int width, height;
};

TEST(LargestWindow, IsTheWidestAndTheTallestSideOfAnyRecordedSize) {
    const Recorded rows[] = {
        {"the header's alone", "1 idle 0.5\n", 640, 480},
        {"wider, then taller", "1 reshape 2000 100\n2 reshape 300 1500\n", 2000, 1500},
        {"smaller, or none, leaves the header's", "1 reshape 0 0\n2 reshape 1 1\n", 640, 480},
        {"the limit", "1 reshape 8192 8192\n2 reshape 640 480\n", 8192, 8192},
    };
    TempDir dir;
    for (const Recorded& row : rows) {
        const std::string path = dir.write("session.tessera-replay", header + row.events);
        int width = 0;
        int height = 0;
        EXPECT_EQ(largestWindow(path, width, height), "") << row.name;
        EXPECT_EQ(width, row.width) << row.name;
        EXPECT_EQ(height, row.height) << row.name;
    }
}

} // namespace
} // namespace tessera
