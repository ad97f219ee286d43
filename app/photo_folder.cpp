#include "app/photo_folder.h"

#include "app/photograph.h"
#include "photo/photo_file.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace tessera {

namespace fs = std::filesystem;

PhotoFolder::PhotoFolder(std::string folder, Order order, std::uint32_t seed)
    : folder(std::move(folder)), order(order), random(seed) {}

std::string PhotoFolder::list(std::vector<std::string>& names) const {
    names.clear();
    std::error_code failed;
    fs::directory_iterator entry(folder, failed);
    if (failed) {
        return folder + ": " + failed.message();
    }
    for (; entry != fs::directory_iterator(); entry.increment(failed)) {
        std::error_code ignored;
        const std::string path = entry->path().string();
        if (entry->is_regular_file(ignored) &&
            photoFormatOfFile(path.c_str()) != PhotoFormat::unknown) {
            names.push_back(entry->path().filename().string());
        }
    }
    if (failed) {
        return folder + ": " + failed.message();
    }
    std::sort(names.begin(), names.end());
    return "";
}

std::string PhotoFolder::check() const {
    std::vector<std::string> names;
    if (std::string error = list(names); !error.empty()) {
        return error;
    }
    return names.empty() ? folder + ": no JPEG or PNG photograph in the folder" : "";
}

std::vector<std::string> PhotoFolder::queue(const std::vector<std::string>& names) {
    std::vector<std::string> tried;
    if (order == NameOrder) {
        const auto after = std::upper_bound(names.begin(), names.end(), last);
        tried.assign(after, names.end());
        tried.insert(tried.end(), names.begin(), after);
        return tried;
    }
    for (const std::string& name : names) {
        if (shown.count(name) == 0) {
            tried.push_back(name);
        }
    }
    if (tried.empty()) {
        shown.clear();
        tried = names;
    }
    std::shuffle(tried.begin(), tried.end(), random);
    // A new round does not open with the photograph that closed the last.
    if (tried.size() > 1 && tried.front() == last) {
        std::swap(tried.front(), tried.back());
    }
    return tried;
}

std::string PhotoFolder::next(const PhotoOptions& options, PictureSetBuffers& buffers,
                              std::string& path, std::string& summary,
                              std::vector<std::string>& skipped) {
    std::vector<std::string> names;
    if (std::string error = list(names); !error.empty()) {
        return error;
    }
    for (const std::string& name : queue(names)) {
        const std::string candidate = (fs::path(folder) / name).string();
        if (std::string error = preparePhotograph(candidate, options, buffers, summary);
            !error.empty()) {
            skipped.push_back(error);
            continue;
        }
        last = name;
        shown.insert(name);
        path = candidate;
        return "";
    }
    return folder + ": no JPEG or PNG photograph in the folder can be read";
}

} // namespace tessera
