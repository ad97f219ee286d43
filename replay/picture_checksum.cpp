#include "replay/picture_checksum.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tessera {

std::string checksumFiles(const std::vector<std::string>& paths, std::uint64_t& sum) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    unsigned char buffer[65536];
    for (const std::string& path : paths) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            return path + ": " + std::strerror(errno);
        }
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            for (std::size_t i = 0; i < got; ++i) {
                hash = (hash ^ buffer[i]) * 0x100000001b3u;
            }
        }
        const bool failed = std::ferror(file) != 0;
        std::fclose(file);
        if (failed) {
            return path + ": cannot read";
        }
    }
    sum = hash;
    return "";
}

} // namespace tessera
