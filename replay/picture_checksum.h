#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessera {

// FNV-1a 64 of the bytes of the files, one after the other: what a recording notes of its
// picture, so that a replay on another picture is refused. Returns an empty string, or
// "PATH: what is wrong".
std::string checksumFiles(const std::vector<std::string>& paths, std::uint64_t& sum);

} // namespace tessera
