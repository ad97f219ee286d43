#include "tessera_render/stale_temporaries.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <limits>

namespace tessera {
namespace {

namespace fs = std::filesystem;

// Reads the decimal digits from text[at] on, as far as they go, as std::to_string writes
// them: false for none, a leading zero or a number beyond a pid.
bool readNumber(const std::string& text, std::size_t& at, long long& number) {
    const std::size_t start = at;
    number = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        number = number * 10 + (text[at] - '0');
        if (number > std::numeric_limits<pid_t>::max()) {
            return false;
        }
    }
    return at > start && (at - start == 1 || text[start] != '0');
}

} // namespace

pid_t temporaryOwner(const std::string& name, const std::string& destinationName) {
    const std::string head = destinationName + ".tmp-";
    if (destinationName.empty() || name.compare(0, head.size(), head) != 0) {
        return 0;
    }
    std::size_t at = head.size();
    long long pid = 0;
    long long counter = 0;
    if (!readNumber(name, at, pid) || at == name.size() || name[at] != '-' ||
        !readNumber(name, ++at, counter) || at != name.size()) {
        return 0;
    }
    return static_cast<pid_t>(pid);
}

std::vector<std::string> removeStaleTemporaries(const std::string& destination) {
    const fs::path path(destination);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string destinationName = path.filename().string();
    std::vector<std::string> removed;
    std::error_code failed;
    for (fs::directory_iterator entry(folder, failed), end; !failed && entry != end;
         entry.increment(failed)) {
        const pid_t owner = temporaryOwner(entry->path().filename().string(), destinationName);
        // kill(0) would ask about this process group: no temporary names it. A link or a
        // folder of that name is nobody's temporary.
        std::error_code unreadable;
        if (owner <= 0 || entry->symlink_status(unreadable).type() != fs::file_type::regular ||
            !(::kill(owner, 0) == -1 && errno == ESRCH)) {
            continue;
        }
        if (fs::remove(entry->path(), unreadable)) {
            removed.push_back(entry->path().string());
        }
    }
    return removed;
}

} // namespace tessera
