#include "photo/png_writer.h"
#include "session/photo_folder.h"
#include "support/temp_dir.h"
#include "support/without_privileges.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tessera {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::withoutPrivileges;

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
    EXPECT_EQ(none.skipped.size(), 2u) << "b.png was named already";
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

    writePhoto(dir, "a.png", 10);
    writePhoto(dir, "b.jpg", 20);
    fs::permissions(dir.path(""),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir.path("a.png"), fs::perms::none);
    EXPECT_EQ(withoutPrivileges([&] {
                  return PhotoFolder(dir.path(""), PhotoFolder::NameOrder, 1).check();
              }).value_or("no child"),
              "")
        << "one photograph can be read";
    fs::permissions(dir.path("b.jpg"), fs::perms::none);
    EXPECT_EQ(withoutPrivileges([&] {
                  return PhotoFolder(dir.path(""), PhotoFolder::NameOrder, 1).check();
              }).value_or("no child"),
              dir.path("") + ": no JPEG or PNG photograph in the folder can be read:\n  " +
                  dir.path("a.png") + ": cannot open: Permission denied\n  " + dir.path("b.jpg") +
                  ": cannot open: Permission denied");
}

// A show of a.png and one file that cannot be shown, three photographs long, as nobody (for
// whom permissions hold): a line for each photograph shown and each line passed over.
std::string showOfThree(const TempDir& dir) {
    return withoutPrivileges([&] {
               alarm(10); // a show that waits on a FIFO for ever ends the child
               PhotoFolder folder(dir.path(""), PhotoFolder::NameOrder, 1);
               std::ostringstream lines;
               for (int k = 0; k < 3; ++k) {
                   const Shown shown = next(folder);
                   for (const std::string& line : shown.skipped) {
                       lines << "skipped " << line << "\n";
                   }
                   lines << "shown " << shown.name << shown.error << "\n";
               }
               return lines.str();
           })
        .value_or("no child");
}

TEST(PhotoFolder, AFileThatCannotBeShownIsNamedOnceWithWhyAndTheShowGoesOn) {
    using Make = std::function<void(const TempDir&, const std::string&)>;
    const auto writeBroken = [](const std::string& bytes) {
        return [=](const TempDir& dir, const std::string& name) { dir.write(name, bytes); };
    };
    const struct {
        const char* kind;
        std::string name;
        Make make;
        std::string printed;
        std::string why;
    } rows[] = {
        {"a FIFO in place of a photograph", "b.png",
         [](const TempDir& dir, const std::string& name) {
             ASSERT_EQ(mkfifo(dir.path(name).c_str(), 0644), 0);
         },
         "b.png", "not a regular file but a FIFO"},
        {"a PNG signature, then anything", "b.png",
         writeBroken(brokenPng.substr(0, 8) + std::string(100, 'x')), "b.png",
         "cannot decode PNG: the signature is not followed by an IHDR chunk"},
        {"no right to read it", "b.png",
         [](const TempDir& dir, const std::string& name) {
             writePhoto(dir, name, 20);
             fs::permissions(dir.path(name), fs::perms::none);
         },
         "b.png", "cannot open: Permission denied"},
        {"a PNG cut short", "b.png",
         [](const TempDir& dir, const std::string& name) {
             writePhoto(dir, name, 20);
             fs::resize_file(dir.path(name), fs::file_size(dir.path(name)) - 20);
         },
         "b.png", "cannot decode PNG: file ends early"},
        {"control bytes in its name", "b\nforged line\t\x7f\\.png", writeBroken(brokenPng),
         "b\\nforged line\\t\\x7f\\\\.png",
         "cannot decode PNG: the signature is not followed by an IHDR chunk"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        TempDir dir;
        fs::permissions(dir.path(""),
                        fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
        writePhoto(dir, "a.png", 10);
        row.make(dir, row.name);
        EXPECT_EQ(showOfThree(dir), "shown a.png\nskipped " + dir.path(row.printed) + ": " +
                                        row.why + "\nshown a.png\nshown a.png\n");
    }
}

// A rewrite that keeps the size and sets the modification time back still changes the
// change time.
TEST(PhotoFolder, AFileThatChangesIsTriedAgain) {
    TempDir dir;
    writePhoto(dir, "a.png", 10);
    dir.write("b.png", brokenPng);
    PhotoFolder folder(dir.path(""), PhotoFolder::NameOrder, 1);
    EXPECT_EQ(next(folder).name, "a.png");
    EXPECT_EQ(next(folder).skipped.size(), 1u);
    EXPECT_EQ(next(folder).skipped.size(), 0u);

    struct stat before {};
    ASSERT_EQ(stat(dir.path("b.png").c_str(), &before), 0);
    std::string other = brokenPng;
    other.back() = '!';
    dir.write("b.png", other);
    const timespec times[] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.path("b.png").c_str(), times, 0), 0);
    EXPECT_EQ(next(folder).skipped.size(), 1u) << "rewritten in place";

    writePhoto(dir, "b.png", 20);
    EXPECT_EQ(next(folder).name, "b.png");
}

// A broken photograph ends no round: the rest of the round is shown, then a new one.
TEST(PhotoFolder, AShuffleShowsEachPhotographOnceARoundAndNeverTheSameTwiceInARow) {
    TempDir dir;
    const std::vector<std::string> names = {"a.png", "b.png", "c.png", "d.png"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        writePhoto(dir, names[i], static_cast<std::uint8_t>(10 * i));
    }
    dir.write("broken.png", brokenPng);
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        SCOPED_TRACE(seed);
        PhotoFolder folder(dir.path(""), PhotoFolder::Shuffled, seed);
        std::vector<std::string> shown;
        std::size_t skipped = 0;
        for (int k = 0; k < 12; ++k) {
            const Shown one = next(folder);
            ASSERT_EQ(one.error, "") << "after " << k;
            shown.push_back(one.name);
            skipped += one.skipped.size();
        }
        EXPECT_EQ(skipped, 1u) << "the broken photograph is reported once";
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
