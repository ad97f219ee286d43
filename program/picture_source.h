#pragma once

#include <string>
#include <vector>

namespace tessera {

// Where the program takes its picture from: a picture set's three files, named by their
// common prefix, or a photograph that is made into a picture set at start.
struct PictureSource {
    // OtherFile: the picture names a file that is neither a photograph nor a picture set.
    enum Kind { PictureSetFiles, Photograph, OtherFile };
    Kind kind = PictureSetFiles;
    std::string path;
};

// The files a picture is read from: a set's picture, mask and map in that order, or the
// photograph.
std::vector<std::string> pictureFiles(const PictureSource& source);

// The name of the default picture set, looked for in the current folder first.
constexpr const char* defaultPictureSet = "fruit";

// What the command line's picture means. A file that exists and starts like a JPEG or
// PNG is a photograph; another file is no picture at all, unless it is also the prefix
// of a set; anything else is a picture-set prefix. With no picture: "fruit" in
// the current folder when it holds any of its files, otherwise the set shipped with the program
// (beside the executable in the build tree, or where it is installed), otherwise "fruit"
// after all, so that pictureSourceError reports what is missing.
PictureSource choosePicture(const std::string& given, const std::string& executablePath);

// Why the picture cannot be shown, found without decoding anything, so that it is said
// before a window opens: a file that cannot be opened or is no photograph, a path that
// names neither a file nor any file of a set, or a set file that cannot be opened (in the
// readers' words, with its path). Empty when there is nothing to say.
std::string pictureSourceError(const PictureSource& source);

// The demo session shipped with the program, beside its default picture set (built or
// installed); the installed place when neither is there, so that reading it says so.
std::string shippedDemo(const std::string& executablePath);

// The running program's own path, for finding what ships with it.
std::string executablePath();

} // namespace tessera
