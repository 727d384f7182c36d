#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/KsString.h"

// The file-system side of directory containers: the one place that lists directories.

// Other: a device, a pipe, a socket; Missing: nothing there (or a dangling link).
enum class PathKind { Missing, RegularFile, Directory, Other };

struct DirectoryEntry {
    string16 name;  // without the directory
    uint64_t size = 0;
    uint32_t attributes = 0;  // the file-system mode bits
    PathKind kind = PathKind::Missing;
};

// The entries of the directory, "." and ".." left out, sorted by name. Symbolic links are
// followed. False when the directory cannot be listed.
[[nodiscard]] bool ListDirectory(const string16& path, std::vector<DirectoryEntry>& entries);
// What is at the path, following links.
PathKind GetPathKind(const string16& path);
