#include "program/picture_source.h"
#include "support/temp_dir.h"
#include "support/without_privileges.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessera {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::withoutPrivileges;

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

// Each way of naming no picture gets one line naming the path and what was looked for.
TEST(PictureSource, WhatCannotBeShownIsNamedWithItsPath) {
    TempDir dir;
    fs::create_directories(dir.path("shots"));
    dir.write("half.ppm", "P6");
    dir.write("half.map", "regions 0");
    const std::string missing = dir.path("missing");
    const std::string shots = dir.path("shots");
    const std::string half = dir.path("half");
    const std::string notes = dir.write("notes.jpg", "just words");

    const auto errorFor = [](const std::string& given) {
        return pictureSourceError(choosePicture(given, ""));
    };
    EXPECT_EQ(errorFor(missing), missing + ": no such file, nor a picture set " + missing +
                                     ".ppm, " + missing + "_mask.pgm, " + missing + ".map");
    EXPECT_EQ(errorFor(shots), shots + ": a folder, not a photograph, nor a picture set " + shots +
                                   ".ppm, " + shots + "_mask.pgm, " + shots + ".map");
    EXPECT_EQ(errorFor("/dev/null"),
              "/dev/null: a device or other special file, not a photograph, nor a picture set "
              "/dev/null.ppm, /dev/null_mask.pgm, /dev/null.map");
    EXPECT_EQ(errorFor(half),
              "error opening pgm file " + half + "_mask.pgm: No such file or directory");
    EXPECT_EQ(errorFor(notes), notes + ": not a JPEG or PNG photograph (a picture set is named by "
                                       "the common prefix of its files, as in data/fruit)");
    dir.write("half_mask.pgm", "P5");
    EXPECT_EQ(errorFor(half), "");
}

TEST(PictureSource, APhotographThatCannotBeOpenedSaysWhy) {
    TempDir dir;
    const std::string locked = dir.write("locked.jpg", jpegStart + "rest");
    fs::permissions(dir.path(""), fs::perms::owner_all | fs::perms::others_exec);
    fs::permissions(locked, fs::perms::none);

    const std::optional<std::string> error =
        withoutPrivileges([&] { return pictureSourceError(choosePicture(locked, "")); });

    if (!error) {
        GTEST_SKIP() << "cannot run a child process without the right to read the file";
    }
    EXPECT_EQ(*error, locked + ": cannot open: Permission denied");
}

} // namespace
} // namespace tessera
