#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tessera {

enum class PhotoFormat { unknown, jpeg, png };

// Recognises a photograph by its first bytes (the JPEG or PNG signature), never by its
// name. Eight bytes are enough.
PhotoFormat photoFormatOf(const unsigned char* bytes, std::size_t length);

// The same for a file: reads its first bytes. unknown when it cannot be opened or read.
PhotoFormat photoFormatOfFile(const char* path);

// Largest photograph file read.
constexpr std::size_t maxPhotoFileBytes = std::size_t{1} << 30;

// Reads the whole file into bytes, in one pass; a photograph is decoded from these bytes,
// so they are all of what it was made from. Returns an empty string, or "cannot open: ",
// "cannot read: " and the system's reason, or the message for a file above
// maxPhotoFileBytes: a regular file is refused by its size before anything is read, and
// anything else is read no further than that. Reading stops after the first 64 KiB of
// what starts like no photograph, which decoding then refuses.
std::string readPhotoFile(const char* path, std::vector<unsigned char>& bytes);

} // namespace tessera
