#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct stat;

namespace tessera {

enum class PhotoFormat { unknown, jpeg, png };

// Recognises a photograph by its first bytes (the JPEG or PNG signature), never by its
// name. Eight bytes are enough.
PhotoFormat photoFormatOf(const unsigned char* bytes, std::size_t length);

// What tells one version of a file from another without reading it: a rewrite changes its
// size or modification time, and its change time even when the modification time is set
// back.
struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t modified = 0; // nanoseconds since the epoch
    std::int64_t changed = 0;
    bool operator==(const FileStamp& other) const {
        return size == other.size && modified == other.modified && changed == other.changed;
    }
};

// The stamp of a file looked up with stat or fstat.
FileStamp fileStamp(const struct stat& info);

// Opens a photograph's file without waiting on it: a FIFO or a device put where a
// photograph was would hold an ordinary open, or a read, until somebody writes to it. What
// was opened is looked at, not the name: anything but a regular file is refused. Returns
// the descriptor, blocking again, with stamp set; or -1 and error "cannot open: " and the
// system's reason, or "not a regular file but a FIFO" (or a folder, a device, a socket).
int openPhotoFile(const char* path, FileStamp& stamp, std::string& error);

// The same for a file: reads its first bytes. unknown when it cannot be opened or read, or
// is no regular file; error then says why (it stays empty for a file of another format).
PhotoFormat photoFormatOfFile(const char* path, FileStamp& stamp, std::string& error);
PhotoFormat photoFormatOfFile(const char* path);

// Largest photograph file read.
constexpr std::size_t maxPhotoFileBytes = std::size_t{1} << 30;

// Which files readPhotoFile reads: the program's photographs are regular files, opened as
// openPhotoFile does; tessera-set also reads a pipe or a device.
enum class PhotoFileKinds { regularOnly, any };

// Reads the whole file into bytes, in one pass; a photograph is decoded from these bytes,
// so they are all of what it was made from. Returns an empty string, or "cannot open: ",
// "cannot read: " and the system's reason, or the message for a file above
// maxPhotoFileBytes: a regular file is refused by its size before anything is read, and
// anything else is read no further than that. The first photoHeaderBytes are checked
// before the rest is read (photo/photo_header.h), and reading stops after them when they
// start like no photograph, which decoding then refuses.
std::string readPhotoFile(const char* path, std::vector<unsigned char>& bytes,
                          PhotoFileKinds kinds = PhotoFileKinds::regularOnly);

} // namespace tessera
