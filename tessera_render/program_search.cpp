#include "tessera_render/program_search.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace tessera {

std::string findProgram(const std::string& name) {
    const char* variable = std::getenv("PATH");
    // Without PATH, the C library's own search list.
    const std::string path = variable != nullptr ? variable : "/bin:/usr/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        // An empty entry is the current folder.
        const std::string folder = end > start ? path.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + name;
        struct stat status {};
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return "";
}

} // namespace tessera
