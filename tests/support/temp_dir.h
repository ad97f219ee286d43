#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace tessera::test {

// A fresh directory for one test's files, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = testing::TempDir() + "tessera-XXXXXX";
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
