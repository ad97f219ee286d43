#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace tessera {

// An output is written under a temporary beside it, "OUT.tmp-PID-N" (see AtomicFile), that
// a process killed outright (SIGKILL, a power cut) leaves behind with nothing to remove it.

// The process id in name when it is exactly a temporary of the file destinationName (no
// folder), PID and N in plain decimal; 0 otherwise.
pid_t temporaryOwner(const std::string& name, const std::string& destinationName);

// Removes the temporaries of destination (a path) in its folder whose process is gone, and
// gives their paths. Only regular files are removed; a folder that cannot be read is left.
std::vector<std::string> removeStaleTemporaries(const std::string& destination);

} // namespace tessera
