#include "photo/file_group_writer.h"
#include "scratch_folder.h"
#include "test_image_files.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(FileGroupWriter, FilesAppearOnlyWhenTheGroupIsCommitted) {
    ScratchFolder folder;
    FileGroupWriter writer;

    ASSERT_EQ(writer.stage(folder.path("a.txt"), "head ", "body"), "");
    ASSERT_EQ(writer.stage(folder.path("b.txt"), "second", ""), "");
    EXPECT_FALSE(std::filesystem::exists(folder.path("a.txt")));

    ASSERT_EQ(writer.commit(), "");
    EXPECT_EQ(readBytes(folder.path("a.txt")),
              (std::vector<char>{'h', 'e', 'a', 'd', ' ', 'b', 'o', 'd', 'y'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

TEST(FileGroupWriter, AFileThatCannotBeWrittenLeavesNothingOfTheGroup) {
    ScratchFolder folder;
    writeBytes(folder.path("a.txt"), {'o', 'l', 'd'});
    {
        FileGroupWriter writer;
        ASSERT_EQ(writer.stage(folder.path("a.txt"), "new", ""), "");
        EXPECT_EQ(writer.stage(folder.path("missing/b.txt"), "new", ""),
                  "cannot write " + folder.path("missing/b.txt") + ": No such file or directory");
    }

    EXPECT_EQ(readBytes(folder.path("a.txt")), (std::vector<char>{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

} // namespace
} // namespace tessera
