#include "replay/recorded_size.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

struct Sized {
    const char* name;
    int width, height;
    int recordedWidth, recordedHeight;
};

TEST(RecordedSize, AWindowBeyondWhatARecordingHoldsKeepsItsShapeWithin) {
    const Sized rows[] = {
        {"an ordinary window", 640, 480, 640, 480},
        {"the largest held", 8192, 8192, 8192, 8192},
        {"minimised", 0, 0, 0, 0},
        {"one pixel too wide", 8193, 8193, 8192, 8192},
        {"a line one too long", 8193, 1, 8192, 1},
        {"a video wall", 10240, 1200, 8192, 960},
        {"the wall upright", 1200, 10240, 960, 8192},
        {"half a pixel rounds up", 16384, 8193, 8192, 4097},
        {"just under half rounds down", 9000, 8999, 8192, 8191},
        {"a pixel high never becomes none", 100000, 1, 8192, 1},
        {"no height stays none", 20000, 0, 8192, 0},
        {"as wide as X goes", 32767, 32767, 8192, 8192},
    };
    for (const Sized& row : rows) {
        const RecordedSize recorded = recordedSize(row.width, row.height);
        EXPECT_EQ(recorded.width, row.recordedWidth) << row.name;
        EXPECT_EQ(recorded.height, row.recordedHeight) << row.name;
    }
}

} // namespace
} // namespace tessera
