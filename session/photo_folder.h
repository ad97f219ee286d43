#pragma once

#include "decode/photo_file.h"
#include "photo/photo_options.h"
#include "photo/picture_set_buffers.h"

#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace tessera {

// The show of a folder of photographs: every file in it that starts like a JPEG or PNG, in
// name order or shuffled. The folder is listed again for every photograph, so that files
// added while the show runs join it and removed ones leave it. Names are printed escaped
// (photo/printable_name.h).
class PhotoFolder {
public:
    enum Order { NameOrder, Shuffled };

    PhotoFolder(std::string folder, Order order, std::uint32_t seed);

    // Why the folder cannot be shown, found without decoding: it cannot be listed, holds no
    // file that starts like a photograph, or none that can be opened (then each such file
    // follows, on a line of its own, with why). Empty when there is nothing to say.
    std::string check() const;

    // The photograph after the last one made, made into a picture set: the next name in
    // order (after the last name, from the first again), or in a shuffle one not yet
    // shown in this round, and from a new round when none of the rest can be read. One
    // that cannot be read adds "PATH: why" to skipped and the next is tried; it is passed
    // over without a word from then on, until its size or times change. Returns an empty
    // string, with path and summary set, or why none of the folder's photographs can be
    // shown.
    std::string next(const PhotoOptions& options, PictureSetBuffers& buffers, std::string& path,
                     std::string& summary, std::vector<std::string>& skipped);

private:
    // A file of the folder that may be a photograph; error says why it cannot be read.
    struct Entry {
        std::string name;
        FileStamp stamp;
        std::string error;
    };

    std::string list(std::vector<Entry>& entries) const;
    // The folder's photographs in the order they are to be tried.
    std::vector<const Entry*> queue(const std::vector<Entry>& entries);
    std::string pathOf(const std::string& name) const;

    std::string folder;
    Order order;
    std::mt19937 random;
    std::string last;
    // In a shuffle, the names shown in this round.
    std::set<std::string> shown;
    // The files already reported as unreadable, as they were then.
    std::map<std::string, FileStamp> failed;
};

} // namespace tessera
