#pragma once

#include "engine/streams/KsContainer.h"

// What a directory container knows of one entry: its name (without the directory), the low 32
// bits of its size, its mode bits as flags, and is-container for subdirectories.
class KsDirectoryContainerItemInfo final : public KsCommonContainerItemInfo {};

// The entries of one file-system directory as a container. The item list is taken when the
// container is opened; files opened later by name are added to it.
class KsDirectoryContainer final : public KsNamedContainer {
public:
    using KsNamedContainer::GetSize;
    using KsNamedContainer::OpenStream;

    // Lists the directory; false when it cannot be listed. Only names matching the mask ("*" and
    // "?" wildcards; "*.*" and "" match every name) are taken.
    [[nodiscard]] bool Open(const string16& path, const string16& mask);

    // Only regular files open; a subdirectory, a device or a pipe gives null.
    KsRef<KsStream> OpenStream(const unit16* name, KsStreamMode mode) override;

private:
    const KsContainerItemInfo* FindItem(const string16& name);
};

// The container of the directory, or null when the path is empty or cannot be listed.
KsRef<KsContainer> OpenDirectory(const string16& path, const string16& mask = string16("*.*"));

// True when the name matches a file mask of "*" (any run) and "?" (any one unit) wildcards.
bool MatchFileMask(const string16& name, const string16& mask);
