#pragma once

#include <string>

namespace tessera {

// The name a recording made on the web page gives its photograph: the file's own name,
// without any folder, since the page knows no more and a replay elsewhere is told where
// the file is. It is written on a header line, so it must print as one line and fit one.
// Returns an empty string with name set, or why the file's name cannot be recorded.
std::string recordedPhotoName(const std::string& fileName, std::string& name);

} // namespace tessera
