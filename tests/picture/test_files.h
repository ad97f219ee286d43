#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
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

// A fresh directory for one test's files, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = testing::TempDir() + "tessera-picture-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        } else {
            ADD_FAILURE() << "cannot create a directory from " << pattern;
        }
    }
    ~TempDir() {
        if (!path_.empty()) {
            std::filesystem::remove_all(path_);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The path of a file in the directory, which need not exist.
    std::string path(const std::string& name) const { return (path_ / name).string(); }

    // Writes the bytes to a file in the directory and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }

private:
    std::filesystem::path path_;
};

} // namespace tessera::test
