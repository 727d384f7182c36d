#include "engine/streams/KsDirectoryContainer.h"

#include <memory>
#include <vector>

#include "engine/streams/DirectoryListing.h"
#include "engine/streams/KsFileStream.h"

bool MatchFileMask(const string16& name, const string16& mask) {
    if (mask.Empty() || mask == string16("*") || mask == string16("*.*")) return true;
    // Greedy matching with one back-track point for the last star.
    int32_t n = 0, m = 0, starMask = -1, starName = 0;
    while (n < name.Length()) {
        if (m < mask.Length() && (mask[m] == '?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.Length() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.Length() && mask[m] == '*')
        ++m;
    return m == mask.Length();
}

bool KsDirectoryContainer::Open(const string16& path, const string16& mask) {
    if (path.Empty()) return false;
    string16 directory = path;
    if (!directory.EndsWith(string16("/")) && !directory.EndsWith(string16("\\")))
        directory.Append(string16("/"));
    std::vector<DirectoryEntry> entries;
    if (!ListDirectory(directory, entries)) return false;
    SetName(directory.CStr());
    ClearItems();
    for (const DirectoryEntry& entry : entries) {
        if (entry.kind != PathKind::RegularFile && entry.kind != PathKind::Directory) continue;
        if (!MatchFileMask(entry.name, mask)) continue;
        auto item = std::make_unique<KsDirectoryContainerItemInfo>();
        item->name = entry.name;
        item->size = static_cast<ks_pos_t>(entry.size & 0xFFFFFFFFu);
        item->flags = entry.attributes;
        item->isContainer = entry.kind == PathKind::Directory;
        AddItem(std::move(item));
    }
    return true;
}

const KsContainerItemInfo* KsDirectoryContainer::FindItem(const string16& name) {
    for (int i = 0; i < GetObjectCount(); ++i) {
        const KsContainerItemInfo* info = GetObjectInfo(i);
        const unit16* itemName = info->GetName();
        if (itemName && name == string16(itemName)) return info;
    }
    return nullptr;
}

KsRef<KsStream> KsDirectoryContainer::OpenStream(const unit16* name, KsStreamMode mode) {
    if (!name || !*name) return nullptr;
    const string16 itemName(name);
    const KsContainerItemInfo* item = FindItem(itemName);
    if (item && item->IsContainer()) return nullptr;
    string16 path = FullName();
    path.Append(itemName);
    // Opening a pipe or a device would block or read without end; a missing file is fine for a
    // mode that creates it.
    PathKind kind = GetPathKind(path);
    if (kind == PathKind::Directory || kind == PathKind::Other) return nullptr;
    if (kind == PathKind::Missing && mode == KS_MODE_READ) return nullptr;
    KsRef<KsStream> stream = OpenFileStream(path, mode);
    if (!stream) return nullptr;
    if (!item) {
        auto added = std::make_unique<KsDirectoryContainerItemInfo>();
        added->name = itemName;
        added->size = stream->GetSize();
        AddItem(std::move(added));
    }
    return stream;
}

KsRef<KsContainer> OpenDirectory(const string16& path, const string16& mask) {
    KsRef<KsDirectoryContainer> container(new KsDirectoryContainer());
    if (!container->Open(path, mask)) return nullptr;
    return container;
}
