#pragma once

#include <cstdio>
#include <string>

namespace tessera::test {

// A read stream over a few bytes in memory, closed when it goes out of scope.
class ByteStream {
public:
    explicit ByteStream(std::string bytes)
        : bytes_(std::move(bytes)), file_(fmemopen(bytes_.data(), bytes_.size(), "r")) {}
    ~ByteStream() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    ByteStream(const ByteStream&) = delete;
    ByteStream& operator=(const ByteStream&) = delete;

    std::FILE* get() const { return file_; }

private:
    std::string bytes_;
    std::FILE* file_;
};

} // namespace tessera::test
