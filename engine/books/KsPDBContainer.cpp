#include "engine/books/KsPDBContainer.h"

#include "engine/books/PDBFile.h"

KsPDBContainer::KsPDBContainer() = default;
KsPDBContainer::~KsPDBContainer() = default;

KsStatus KsPDBContainer::GetSize(ks_pos_t* size) {
    if (size) *size = static_cast<ks_pos_t>(items_.size());
    return KS_OK;
}

const KsContainerItemInfo* KsPDBContainer::GetObjectInfo(int index) {
    if (index < 0 || index >= GetObjectCount()) return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

KsRef<KsStream> KsPDBContainer::OpenStream(const unit16* name, KsStreamMode mode) {
    if (mode != KS_MODE_READ || !name) return nullptr;
    string16 wanted(name);
    for (const std::unique_ptr<KsPDBContainerItem>& item : items_)
        if (item->Name() == wanted) return item->OpenItemStream();
    return nullptr;
}

void KsPDBContainer::AddItem(std::unique_ptr<KsPDBContainerItem> item) {
    items_.push_back(std::move(item));
}

void KsPDBContainer::SetPdbFile(KsRef<PDBFile> file) {
    file_ = std::move(file);
}
