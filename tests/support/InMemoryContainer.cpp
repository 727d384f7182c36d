#include "tests/support/InMemoryContainer.h"

#include "engine/streams/KsMemoryStream.h"

void InMemoryContainer::AddFile(const string16& name, std::string bytes) {
    KsCommonContainerItemInfo info;
    info.name = name;
    info.size = static_cast<ks_pos_t>(bytes.size());
    items_.push_back(info);
    contents_.push_back(std::move(bytes));
}

const KsContainerItemInfo* InMemoryContainer::GetObjectInfo(int index) {
    if (index < 0 || index >= GetObjectCount()) return nullptr;
    return &items_[size_t(index)];
}

KsRef<KsStream> InMemoryContainer::OpenStream(const unit16* name, KsStreamMode mode) {
    if (mode != KS_MODE_READ || !name) return nullptr;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].name != string16(name)) continue;
        return CreateMemoryStream(contents_[i].data(), static_cast<ks_pos_t>(contents_[i].size()),
                                  MemoryCopy::Copy, KS_MODE_READ);
    }
    return nullptr;
}

KsStatus InMemoryContainer::GetSize(ks_pos_t* size) {
    *size = static_cast<ks_pos_t>(items_.size());
    return KS_OK;
}
