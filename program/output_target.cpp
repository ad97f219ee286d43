#include "program/output_target.h"

#include "photo/atomic_file.h"

#include <algorithm>
#include <sys/stat.h>

namespace tessera {

void SessionInputs::add(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        files.emplace_back(info.st_dev, info.st_ino);
    }
}

bool SessionInputs::includes(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 &&
           std::find(files.begin(), files.end(), std::make_pair(info.st_dev, info.st_ino)) !=
               files.end();
}

std::string outputFault(const std::string& path, const SessionInputs& inputs) {
    if (inputs.includes(path)) {
        return path + ": one of the files this session reads";
    }
    // Followed through a link: a link to a regular file is replaced by the new file, and
    // what it pointed to is left alone.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return path + ": there already and not a regular file";
    }
    return "";
}

std::string newFileFault(const std::string& path, const SessionInputs& inputs) {
    if (inputs.includes(path)) {
        return path + ": one of the files this session reads";
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        return path + ": already there, and never written over";
    }
    return "";
}

std::string checkOutputFolder(const std::string& path) {
    AtomicFile probe;
    return probe.create(path);
}

} // namespace tessera
