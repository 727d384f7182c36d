#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/streams/KsContainer.h"

// A container whose items are byte strings held in memory, for tests of code that reads files
// out of a book's container.
class InMemoryContainer final : public KsContainer {
public:
    using KsContainer::GetSize;
    using KsContainer::OpenStream;

    void AddFile(const string16& name, std::string bytes);
    const KsContainerItemInfo* GetObjectInfo(int index) override;
    int GetObjectCount() override { return static_cast<int>(items_.size()); }
    KsRef<KsStream> OpenStream(const unit16* name, KsStreamMode mode) override;
    KsStatus GetSize(ks_pos_t* size) override;

private:
    std::vector<KsCommonContainerItemInfo> items_;
    std::vector<std::string> contents_;
};
