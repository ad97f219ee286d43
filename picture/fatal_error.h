#pragma once

namespace tessera {

// Prints the message in perror form (message, ": ", the system's error text) on standard
// error and ends the process with status -1. Used only for picture-set files, which the
// program cannot run without.
[[noreturn]] void fatalError(const char* message);

} // namespace tessera
