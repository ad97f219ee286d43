#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tessera {

// A fresh, empty folder under the system's temporary folder, removed with its contents
// when the test ends.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessera-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            folder = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path(const std::string& name = "") const {
        return name.empty() ? folder : folder + "/" + name;
    }

    bool isEmpty() const { return std::filesystem::is_empty(folder); }

private:
    std::string folder;
};

} // namespace tessera
