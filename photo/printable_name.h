#pragma once

#include <string>

namespace tessera {

// A file name as it may be printed in one line of a log: control bytes and DEL become
// \n, \t, \r or \xNN, and a backslash \\, so that a name cannot forge or break a line.
// Other bytes, UTF-8 included, stay as they are.
std::string printableName(const std::string& name);

} // namespace tessera
