#pragma once

#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace tessera {

// The files a session reads, known by the file itself rather than by its name, so that no
// output, under whatever name or link, is ever written over one of them.
class SessionInputs {
public:
    // Notes a file the session reads; one that cannot be looked at is passed over.
    void add(const std::string& path);
    // True when path names one of them.
    bool includes(const std::string& path) const;

private:
    std::vector<std::pair<dev_t, ino_t>> files;
};

// Why an output file cannot be put at path, or an empty string: path must not be one of
// the inputs, and what is there already must be a regular file (a rename over a device
// would replace the device itself).
std::string outputFault(const std::string& path, const SessionInputs& inputs);

// Why a new file cannot be made at path, or an empty string: a name that is taken, even
// by a link that leads nowhere, is never written over.
std::string newFileFault(const std::string& path, const SessionInputs& inputs);

// Makes and removes a temporary beside path, to find out before any work is done whether
// a file can be written there. Returns an empty string or "PATH: reason".
std::string checkOutputFolder(const std::string& path);

} // namespace tessera
