#include "app/stale_temporaries.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

// Only a name AtomicFile could have made for that very output is a temporary of it.
TEST(StaleTemporaries, OnlyTheExactNameOfAnOutputsTemporaryGivesItsProcess) {
    const struct {
        const char* name;
        pid_t owner;
    } rows[] = {
        {"evening.mp4.tmp-4242-0", 4242},
        {"evening.mp4.tmp-7-13", 7},
        {"evening.mp4.tmp-2147483647-1", 2147483647},
        {"evening.mp4.tmp-2147483648-1", 0}, // beyond any process id
        {"evening.mp4.tmp-4242-", 0},
        {"evening.mp4.tmp--0", 0},
        {"evening.mp4.tmp-4242", 0},
        {"evening.mp4.tmp-42x2-0", 0},
        {"evening.mp4.tmp-+42-0", 0},
        {"evening.mp4.tmp-0042-0", 0},
        {"evening.mp4.tmp-4242-0.part", 0},
        {"evening.mp4.tmp-4242-0-1", 0},
        {"old-evening.mp4.tmp-4242-0", 0}, // another output's
        {"evening.mp4.tmp-4242-0 ", 0},
        {"evening.webm.tmp-4242-0", 0},
        {"evening.mp4", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(temporaryOwner(row.name, "evening.mp4"), row.owner) << row.name;
    }
}

} // namespace
} // namespace tessera
