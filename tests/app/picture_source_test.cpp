#include "app/picture_source.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessera {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

const std::string jpegStart("\xff\xd8\xff\xe0", 4);
const std::string pngStart("\x89PNG\r\n\x1a\n", 8);

TEST(PictureSource, APhotographIsKnownByItsBytesNotItsName) {
    TempDir dir;
    const std::string jpeg = dir.write("holiday.txt", jpegStart + "rest");
    const std::string png = dir.write("scan", pngStart + "rest");
    const std::string text = dir.write("notes.jpg", "just words");
    dir.write("set.ppm", "P6");

    EXPECT_EQ(choosePicture(jpeg, "").kind, PictureSource::Photograph);
    EXPECT_EQ(choosePicture(png, "").kind, PictureSource::Photograph);
    EXPECT_EQ(choosePicture(text, "").kind, PictureSource::OtherFile);
    const PictureSource set = choosePicture(dir.path("set"), "");
    EXPECT_EQ(set.kind, PictureSource::PictureSetFiles);
    EXPECT_EQ(set.path, dir.path("set"));
    EXPECT_EQ(choosePicture(dir.path("missing"), "").kind, PictureSource::PictureSetFiles)
        << "the reader names what is missing";
}

// Runs choosePicture("") from inside folder.
PictureSource defaultFrom(const std::string& folder, const std::string& executable) {
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    PictureSource chosen = choosePicture("", executable);
    fs::current_path(before);
    return chosen;
}

TEST(PictureSource, TheDefaultSetComesFromTheFolderThenFromBesideTheProgram) {
    TempDir work;
    TempDir built;
    TempDir installed;
    fs::create_directories(built.path("data"));
    fs::create_directories(installed.path("bin"));
    fs::create_directories(installed.path("share/tessera"));
    built.write("data/fruit.ppm", "P6");
    installed.write("share/tessera/fruit.ppm", "P6");

    EXPECT_EQ(defaultFrom(work.path(""), built.path("tessera")).path, built.path("data/fruit"));
    EXPECT_EQ(defaultFrom(work.path(""), installed.path("bin/tessera")).path,
              installed.path("share/tessera/fruit"));
    EXPECT_EQ(defaultFrom(work.path(""), work.path("tessera")).path, "fruit")
        << "nothing anywhere: the reader reports the missing fruit.ppm";
    work.write("fruit.map", "regions 0");
    EXPECT_EQ(defaultFrom(work.path(""), built.path("tessera")).path, "fruit")
        << "part of a set in the folder: the reader names the missing picture";
}

TEST(PictureSource, AnyOneFileOfTheSetInTheFolderKeepsTheDefaultThere) {
    TempDir built;
    fs::create_directories(built.path("data"));
    built.write("data/fruit.ppm", "P6");
    for (const char* file : {"fruit.ppm", "fruit_mask.pgm", "fruit.map"}) {
        SCOPED_TRACE(file);
        TempDir work;
        work.write(file, "part");
        EXPECT_EQ(defaultFrom(work.path(""), built.path("tessera")).path, "fruit");
    }
}

} // namespace
} // namespace tessera
