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

// A dangling link at the destination's name is replaced itself, never written through;
// a file that must be new does not take the link's name.
TEST(AtomicFile, ADanglingLinkAtTheNameIsNeverWrittenThrough) {
    ScratchFolder folder;
    const std::string link = folder.path("out.png");
    std::filesystem::create_symlink("elsewhere.png", link);

    EXPECT_EQ(writeFileAtomically(link, "new", AtomicFile::Replace::Never), link + ": File exists");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(writeFileAtomically(link, "new", AtomicFile::Replace::Allowed), "");
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readBytes(link), (std::vector<char>{'n', 'e', 'w'}));
    EXPECT_EQ(filesIn(folder), 1u) << "elsewhere.png was not made";
}

TEST(AtomicFile, TwoWritersOfOneFileKeepApartAndTheLastCommitWins) {
    ScratchFolder folder;
    AtomicFile first;
    AtomicFile second;
    ASSERT_EQ(first.create(folder.path("a.txt")), "");
    ASSERT_EQ(second.create(folder.path("a.txt")), "");
    EXPECT_NE(first.temporaryPath(), second.temporaryPath());
    std::fputs("1", first.stream());
    std::fputs("2", second.stream());

    ASSERT_EQ(first.commit(), "");
    ASSERT_EQ(second.commit(), "");
    EXPECT_EQ(readBytes(folder.path("a.txt")), (std::vector<char>{'2'}));
    EXPECT_EQ(filesIn(folder), 1u);
}

// The temporary goes when the commit fails, not only when the AtomicFile does.
TEST(AtomicFile, AFailedCommitRemovesTheTemporaryAtOnce) {
    for (const AtomicFile::Replace replace :
         {AtomicFile::Replace::Allowed, AtomicFile::Replace::Never}) {
        ScratchFolder folder;
        AtomicFile out;
        ASSERT_EQ(out.create(folder.path("a.txt")), "");

        EXPECT_EQ(out.commitAs(folder.path("missing/a.txt"), replace),
                  folder.path("missing/a.txt") + ": No such file or directory");
        EXPECT_TRUE(folder.isEmpty());
    }
}

TEST(AtomicFile, AFolderThatIsNotThereIsNamed) {
    ScratchFolder folder;
    EXPECT_EQ(writeFileAtomically(folder.path("missing/a.txt"), "x"),
              folder.path("missing/a.txt") + ": No such file or directory");
}

} // namespace
} // namespace tessera
