#include "fuzz/fuzz_targets.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace tessera {
namespace {

namespace fs = std::filesystem;

using FuzzTarget = void (*)(const std::uint8_t*, std::size_t);

std::vector<std::uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every committed seed and regression of a fuzzer goes through the fuzzer's own code path;
// under the sanitizer build a memory error in the readers fails the run.
void replay(const std::string& target, FuzzTarget run) {
    const char* sourceDir = std::getenv("TESSERA_SOURCE_DIR"); // set by ctest
    ASSERT_NE(sourceDir, nullptr) << "TESSERA_SOURCE_DIR must name the source tree";
    int replayed = 0;
    for (const char* kind : {"corpus", "regressions"}) {
        const fs::path folder = fs::path(sourceDir) / "tests" / "fuzz" / kind / target;
        ASSERT_TRUE(fs::is_directory(folder)) << folder;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            SCOPED_TRACE(entry.path().string());
            const std::vector<std::uint8_t> bytes = readBytes(entry.path());
            run(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 10) << "the " << target << " seeds are missing";
}

TEST(FuzzCorpus, PictureInputsReadWithoutFault) {
    replay("ppm", fuzzPpm);
}

TEST(FuzzCorpus, MaskInputsReadAndLookUpEveryBoardPoint) {
    replay("pgm", fuzzPgm);
}

TEST(FuzzCorpus, RegionMapInputsReadWithoutFault) {
    replay("region_map", fuzzRegionMap);
}

TEST(FuzzCorpus, ReplayFilesReadWithoutFault) {
    replay("replay", fuzzReplay);
}

TEST(FuzzCorpus, PhotographsMakeASetWithoutFault) {
    replay("photo", fuzzPhoto);
}

} // namespace
} // namespace tessera
