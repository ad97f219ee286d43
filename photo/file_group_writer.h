#pragma once

#include "photo/atomic_file.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessera {

// Writes a group of files so that they appear together or not at all: each file is first
// written in full to a temporary beside its destination, and only commit() puts them into
// place. Temporaries that were not committed are removed on destruction.
class FileGroupWriter {
public:
    // Writes head then body to a temporary for path. Returns an empty string, or the
    // message naming path and the system's reason.
    std::string stage(const std::string& path, std::string_view head, std::string_view body);

    // Puts every staged file onto its destination, in staging order.
    std::string commit();

private:
    std::vector<std::unique_ptr<AtomicFile>> staged;
};

} // namespace tessera
