#include "tessera_render/stale_temporaries.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

// Only a name AtomicFile could have made for that very output is a temporary of it.
TEST(StaleTemporaries, OnlyTheExactNameOfAnOutputsTemporaryGivesItsProcess) {
    const struct {
        const char* what;
        const char* name;
        pid_t owner;
    } rows[] = {
        {"a temporary", "evening.mp4.tmp-4242-0", 4242},
        {"the largest process id", "evening.mp4.tmp-2147483647-1", 2147483647},
        {"beyond any process id", "evening.mp4.tmp-2147483648-1", 0},
        {"no counter", "evening.mp4.tmp-4242-", 0},
        {"no counter part", "evening.mp4.tmp-4242", 0},
        {"a sign", "evening.mp4.tmp-+42-0", 0},
        {"a leading zero", "evening.mp4.tmp-0042-0", 0},
        {"more after it", "evening.mp4.tmp-4242-0.part", 0},
        {"another output's, ending alike", "old-evening.mp4.tmp-4242-0", 0},
        {"another output's", "evening.webm.tmp-4242-0", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(temporaryOwner(row.name, "evening.mp4"), row.owner) << row.what;
    }
}

} // namespace
} // namespace tessera
