#pragma once

#include <string_view>

namespace tessera {

// One of the phone page's files, built into the program.
struct PhoneFile {
    std::string_view contentType;
    std::string_view bytes;
};

// The file the phones' server answers path with ("/", "/phone.js", "/phone.css"), or
// nullptr: no other path names a file.
const PhoneFile* findPhoneFile(std::string_view path);

} // namespace tessera
