#pragma once

#include <string>

namespace tessera {

// The path of the executable file that running name would start, searched on PATH as the
// shell searches it; empty when there is none.
std::string findProgram(const std::string& name);

} // namespace tessera
