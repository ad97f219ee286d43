#pragma once

#include <cstdio>
#include <string>

namespace tessera {

// One output file written completely under a temporary name beside its destination and
// only then put in place, so that nobody ever sees it half-written and a failed write
// leaves the destination as it was. The temporary is created new (never an existing file
// opened for writing) and, unless committed, removed on destruction: a failure removes
// only what this program created.
class AtomicFile {
public:
    enum class Replace {
        Allowed, // the finished file takes the destination's place, whatever stood there
        Never    // the destination must not exist; an existing one is left alone (EEXIST)
    };

    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // Creates the temporary for path. Returns an empty string or "PATH: reason".
    std::string create(const std::string& path);

    // The open temporary, for writers that take a stream (nullptr before create).
    std::FILE* stream() const { return file; }
    const std::string& temporaryPath() const { return temporary; }
    const std::string& destination() const { return path; }

    // Flushes and closes the temporary and puts it at the destination. Returns an empty
    // string or "PATH: reason" (the system's, for example "No space left on device"); after
    // a failure the temporary is gone and the destination untouched.
    std::string commit(Replace replace = Replace::Allowed) { return commitAs(path, replace); }
    // The same, at another name. Under Replace::Never a name that is taken (EEXIST) keeps
    // the finished temporary, so that the caller can try the next name.
    std::string commitAs(const std::string& name, Replace replace);
    // The system's error number of the last failure, 0 after success.
    int errorNumber() const { return lastError; }
    // Gives up: closes and removes the temporary.
    void discard();

private:
    std::FILE* file = nullptr;
    int lastError = 0;
    std::string path;
    std::string temporary;
};

// Writes bytes to path through an AtomicFile. Returns an empty string or "PATH: reason".
std::string writeFileAtomically(const std::string& path, const std::string& bytes,
                                AtomicFile::Replace replace = AtomicFile::Replace::Allowed);

} // namespace tessera
