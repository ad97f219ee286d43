#include "app/photo_folder.h"
#include "photo/png_writer.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessera {
namespace {

using test::TempDir;

// A small photograph of one colour, so that each file's picture can be told apart.
void writePhoto(const TempDir& dir, const std::string& name, std::uint8_t red) {
    RgbImage photo;
    photo.width = 64;
    photo.height = 48;
    for (int i = 0; i < photo.width * photo.height; ++i) {
        photo.pixels.insert(photo.pixels.end(), {red, 40, 90});
    }
    ASSERT_EQ(writePng(photo, dir.path(name)), "");
}

const std::string brokenPng = std::string("\x89PNG\r\n\x1a\n", 8) + "cut short";

struct Shown {
    std::string error;
    std::string name;
    std::vector<std::string> skipped;
};

Shown next(PhotoFolder& folder) {
    PhotoOptions options;
    options.regions = 2;
    PictureSetBuffers buffers;
    std::string path;
    std::string summary;
    Shown shown;
    shown.error = folder.next(options, buffers, path, summary, shown.skipped);
    shown.name = std::filesystem::path(path).filename().string();
    if (shown.error.empty()) {
        EXPECT_EQ(summary.rfind(path + ": 64 x 48 picture", 0), 0u) << summary;
        EXPECT_EQ(buffers.picture.width, 64);
    }
    return shown;
}

TEST(PhotoFolder, GoesByNameFromTheFirstAgainAndSeesFilesAddedAndRemoved) {
    TempDir dir;
    writePhoto(dir, "b.png", 10);
    writePhoto(dir, "d.png", 20);
    dir.write("notes.txt", "not a photograph"); // passed over without a word
    PhotoFolder folder(dir.path(""), PhotoFolder::NameOrder, 1);
    EXPECT_EQ(folder.check(), "");

    EXPECT_EQ(next(folder).name, "b.png");
    writePhoto(dir, "c.png", 30);
    writePhoto(dir, "a.png", 40);
    EXPECT_EQ(next(folder).name, "c.png") << "a file added after the last one shown comes next";
    EXPECT_EQ(next(folder).name, "d.png");
    EXPECT_EQ(next(folder).name, "a.png") << "a file added before comes with the next round";
    std::filesystem::remove(dir.path("b.png"));
    const Shown after = next(folder);
    EXPECT_EQ(after.name, "c.png");
    EXPECT_TRUE(after.skipped.empty());
}

TEST(PhotoFolder, SkipsAPhotographThatCannotBeReadWithOneLineAndFailsOnlyWhenNoneCan) {
    TempDir dir;
    writePhoto(dir, "a.png", 10);
    dir.write("b.png", brokenPng);
    writePhoto(dir, "c.jpg.png", 20);
    PhotoFolder folder(dir.path(""), PhotoFolder::NameOrder, 1);

    EXPECT_EQ(next(folder).name, "a.png");
    const Shown past = next(folder);
    EXPECT_EQ(past.name, "c.jpg.png");
    ASSERT_EQ(past.skipped.size(), 1u);
    EXPECT_EQ(past.skipped[0].rfind(dir.path("b.png") + ": ", 0), 0u) << past.skipped[0];

    dir.write("a.png", brokenPng);
    dir.write("c.jpg.png", brokenPng);
    const Shown none = next(folder);
    EXPECT_EQ(none.error, dir.path("") + ": no JPEG or PNG photograph in the folder can be read");
    EXPECT_EQ(none.skipped.size(), 3u);
}

TEST(PhotoFolder, AFolderWithNoPhotographOrNoneAtAllIsSaidBeforeDecoding) {
    TempDir dir;
    dir.write("notes.txt", "not a photograph");
    EXPECT_EQ(PhotoFolder(dir.path(""), PhotoFolder::NameOrder, 1).check(),
              dir.path("") + ": no JPEG or PNG photograph in the folder");
    EXPECT_EQ(PhotoFolder(dir.path("missing"), PhotoFolder::NameOrder, 1).check(),
              dir.path("missing") + ": No such file or directory");
    EXPECT_EQ(PhotoFolder(dir.path("notes.txt"), PhotoFolder::NameOrder, 1).check(),
              dir.path("notes.txt") + ": Not a directory");
}

TEST(PhotoFolder, AShuffleShowsEachPhotographOnceARoundAndNeverTheSameTwiceInARow) {
    TempDir dir;
    const std::vector<std::string> names = {"a.png", "b.png", "c.png", "d.png"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        writePhoto(dir, names[i], static_cast<std::uint8_t>(10 * i));
    }
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(seed);
        PhotoFolder folder(dir.path(""), PhotoFolder::Shuffled, seed);
        std::vector<std::string> shown;
        for (int k = 0; k < 12; ++k) {
            shown.push_back(next(folder).name);
        }
        for (std::size_t round = 0; round < 3; ++round) {
            std::vector<std::string> one(shown.begin() + 4 * round, shown.begin() + 4 * round + 4);
            std::sort(one.begin(), one.end());
            EXPECT_EQ(one, names) << "round " << round;
        }
        EXPECT_EQ(std::adjacent_find(shown.begin(), shown.end()), shown.end());
    }
}

} // namespace
} // namespace tessera
