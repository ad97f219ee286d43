#include "photo/atomic_file.h"
#include "scratch_folder.h"
#include "test_image_files.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace tessera {
namespace {

std::size_t filesIn(const ScratchFolder& folder) {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(folder.path()), {}));
}

TEST(AtomicFile, TheDestinationAppearsOnlyWhenCommitted) {
    ScratchFolder folder;
    AtomicFile out;
    ASSERT_EQ(out.create(folder.path("a.txt")), "");
    std::fputs("whole", out.stream());

    EXPECT_FALSE(std::filesystem::exists(folder.path("a.txt")));
    ASSERT_EQ(out.commit(), "");
    EXPECT_EQ(readBytes(folder.path("a.txt")), (std::vector<char>{'w', 'h', 'o', 'l', 'e'}));
    EXPECT_EQ(filesIn(folder), 1u);
}

TEST(AtomicFile, NeverReplacingKeepsWhatIsThereAndTheWorkForAnotherName) {
    ScratchFolder folder;
    writeBytes(folder.path("taken"), {'o', 'l', 'd'});
    {
        AtomicFile out;
        ASSERT_EQ(out.create(folder.path("taken")), "");
        std::fputs("new", out.stream());

        EXPECT_EQ(out.commitAs(folder.path("taken"), AtomicFile::Replace::Never),
                  folder.path("taken") + ": File exists");
        EXPECT_EQ(out.errorNumber(), EEXIST);
        EXPECT_EQ(readBytes(folder.path("taken")), (std::vector<char>{'o', 'l', 'd'}));

        ASSERT_EQ(out.commitAs(folder.path("free"), AtomicFile::Replace::Never), "");
    }
    EXPECT_EQ(readBytes(folder.path("free")), (std::vector<char>{'n', 'e', 'w'}));
    EXPECT_EQ(filesIn(folder), 2u);
}

TEST(AtomicFile, AnAbandonedFileLeavesNothingBehind) {
    ScratchFolder folder;
    {
        AtomicFile out;
        ASSERT_EQ(out.create(folder.path("a.txt")), "");
        std::fputs("half", out.stream());
    }
    EXPECT_TRUE(folder.isEmpty());
}

// A write the system refuses (here the file-size limit, as a full disk would) names the
// system's reason and leaves the old file and no temporary.
TEST(AtomicFile, AFailedWriteSaysWhyAndKeepsTheOldFile) {
    ScratchFolder folder;
    writeBytes(folder.path("kept"), {'o', 'l', 'd'});
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 8;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    const std::string error = writeFileAtomically(folder.path("kept"), std::string(64 * 1024, 'x'));

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_EQ(error, folder.path("kept") + ": File too large");
    EXPECT_EQ(readBytes(folder.path("kept")), (std::vector<char>{'o', 'l', 'd'}));
    EXPECT_EQ(filesIn(folder), 1u);
}

TEST(AtomicFile, AFolderThatIsNotThereIsNamed) {
    ScratchFolder folder;
    EXPECT_EQ(writeFileAtomically(folder.path("missing/a.txt"), "x"),
              folder.path("missing/a.txt") + ": No such file or directory");
}

} // namespace
} // namespace tessera
