// The engine's file-system layer: POSIX directory listing.
#include "engine/streams/DirectoryListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "engine/core/StringConvert.h"

namespace {

PathKind KindOf(const struct stat& info) {
    if (S_ISREG(info.st_mode)) return PathKind::RegularFile;
    if (S_ISDIR(info.st_mode)) return PathKind::Directory;
    return PathKind::Other;
}

}  // namespace

bool ListDirectory(const string16& path, std::vector<DirectoryEntry>& entries) {
    entries.clear();
    string8 directory = String16ToUtf8(path);
    DIR* listing = ::opendir(directory.CStr());
    if (!listing) return false;
    std::string prefix(directory.CStr());
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    std::vector<std::pair<std::string, DirectoryEntry>> found;
    while (const struct dirent* item = ::readdir(listing)) {
        if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0) continue;
        DirectoryEntry entry;
        entry.name = Utf8ToString16(item->d_name);
        struct stat info;
        if (::stat((prefix + item->d_name).c_str(), &info) == 0) {
            entry.kind = KindOf(info);
            entry.size = static_cast<uint64_t>(info.st_size);
            entry.attributes = static_cast<uint32_t>(info.st_mode);
        }
        found.emplace_back(item->d_name, std::move(entry));
    }
    ::closedir(listing);
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    entries.reserve(found.size());
    for (auto& item : found)
        entries.push_back(std::move(item.second));
    return true;
}

PathKind GetPathKind(const string16& path) {
    string8 utf8 = String16ToUtf8(path);
    struct stat info;
    if (::stat(utf8.CStr(), &info) != 0) return PathKind::Missing;
    return KindOf(info);
}
