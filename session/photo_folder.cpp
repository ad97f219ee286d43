#include "session/photo_folder.h"

#include "photo/printable_name.h"
#include "session/photograph.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <utility>

namespace tessera {

namespace fs = std::filesystem;

PhotoFolder::PhotoFolder(std::string folder, Order order, std::uint32_t seed)
    : folder(std::move(folder)), order(order), random(seed) {}

std::string PhotoFolder::pathOf(const std::string& name) const {
    return (fs::path(folder) / name).string();
}

// Subfolders and files of other formats are no photographs and pass without a word; a file
// that cannot be opened, or is no longer a regular file when it is, may be one and is named.
std::string PhotoFolder::list(std::vector<Entry>& entries) const {
    entries.clear();
    std::error_code failed;
    fs::directory_iterator entry(folder, failed);
    if (failed) {
        return printableName(folder) + ": " + failed.message();
    }
    for (; entry != fs::directory_iterator(); entry.increment(failed)) {
        const std::string path = entry->path().string();
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
            continue;
        }
        Entry found{entry->path().filename().string(), fileStamp(info), ""};
        FileStamp opened;
        if (photoFormatOfFile(path.c_str(), opened, found.error) != PhotoFormat::unknown ||
            !found.error.empty()) {
            entries.push_back(std::move(found));
        }
    }
    if (failed) {
        return printableName(folder) + ": " + failed.message();
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return "";
}

std::string PhotoFolder::check() const {
    std::vector<Entry> entries;
    if (std::string error = list(entries); !error.empty()) {
        return error;
    }
    if (entries.empty()) {
        return printableName(folder) + ": no JPEG or PNG photograph in the folder";
    }
    std::string unreadable;
    for (const Entry& entry : entries) {
        if (entry.error.empty()) {
            return "";
        }
        unreadable += "\n  " + printableName(pathOf(entry.name)) + ": " + entry.error;
    }
    return printableName(folder) +
           ": no JPEG or PNG photograph in the folder can be read:" + unreadable;
}

std::vector<const PhotoFolder::Entry*> PhotoFolder::queue(const std::vector<Entry>& entries) {
    std::vector<const Entry*> tried;
    if (order == NameOrder) {
        const auto after =
            std::upper_bound(entries.begin(), entries.end(), last,
                             [](const std::string& name, const Entry& e) { return name < e.name; });
        for (auto e = after; e != entries.end(); ++e) {
            tried.push_back(&*e);
        }
        for (auto e = entries.begin(); e != after; ++e) {
            tried.push_back(&*e);
        }
        return tried;
    }
    for (const Entry& entry : entries) {
        if (shown.count(entry.name) == 0) {
            tried.push_back(&entry);
        }
    }
    if (tried.empty()) {
        shown.clear();
        for (const Entry& entry : entries) {
            tried.push_back(&entry);
        }
    }
    std::shuffle(tried.begin(), tried.end(), random);
    // A new round does not open with the photograph that closed the last, even when those
    // before it in the round cannot be read: it comes last.
    const auto closing =
        std::find_if(tried.begin(), tried.end(), [&](const Entry* e) { return e->name == last; });
    if (closing != tried.end()) {
        std::swap(*closing, tried.back());
    }
    return tried;
}

std::string PhotoFolder::next(const PhotoOptions& options, PictureSetBuffers& buffers,
                              std::string& path, std::string& summary,
                              std::vector<std::string>& skipped) {
    std::vector<Entry> entries;
    if (std::string error = list(entries); !error.empty()) {
        return error;
    }
    // What left the folder is forgotten, so that the memory holds no more than the folder.
    const auto byName = [](const Entry& e, const std::string& name) { return e.name < name; };
    for (auto f = failed.begin(); f != failed.end();) {
        const auto at = std::lower_bound(entries.begin(), entries.end(), f->first, byName);
        const bool listed = at != entries.end() && at->name == f->first;
        f = listed ? std::next(f) : failed.erase(f);
    }
    // A shuffle whose round has none left that can be read starts the next round.
    for (int round = 0; round < 2; ++round) {
        for (const Entry* entry : queue(entries)) {
            const auto known = failed.find(entry->name);
            if (known != failed.end() && known->second == entry->stamp) {
                continue;
            }
            const std::string candidate = pathOf(entry->name);
            std::string error = entry->error.empty()
                                    ? preparePhotograph(candidate, options, buffers, summary)
                                    : printableName(candidate) + ": " + entry->error;
            if (!error.empty()) {
                skipped.push_back(std::move(error));
                failed[entry->name] = entry->stamp;
                continue;
            }
            failed.erase(entry->name);
            last = entry->name;
            shown.insert(entry->name);
            path = candidate;
            return "";
        }
        if (order == NameOrder || shown.empty()) {
            break;
        }
        shown.clear();
    }
    return printableName(folder) + ": no JPEG or PNG photograph in the folder can be read";
}

} // namespace tessera
