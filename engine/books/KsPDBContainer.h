#pragma once

#include <memory>
#include <vector>

#include "engine/books/KsPDBContainerItem.h"
#include "engine/streams/KsContainer.h"

class PDBFile;

// The image records of a MOBI or eReader book as named items ("mobi_image_0", ... or the names
// stored in eReader image records), each opening as a window onto the file. It is no named
// container: it has no name and its size is its item count.
class KsPDBContainer final : public KsContainer {
public:
    using KsContainer::GetSize;
    using KsContainer::OpenStream;

    KsPDBContainer();
    ~KsPDBContainer() override;

    bool IsContainer() const override { return false; }
    KsStatus GetSize(ks_pos_t* size) override;
    const KsContainerItemInfo* GetObjectInfo(int index) override;
    int GetObjectCount() override { return static_cast<int>(items_.size()); }
    // Only in read mode: the first item whose name equals the text.
    KsRef<KsStream> OpenStream(const unit16* name, KsStreamMode mode) override;

    void AddItem(std::unique_ptr<KsPDBContainerItem> item);
    // The decoded text stream the items belong to; the container keeps it alive.
    void SetPdbFile(KsRef<PDBFile> file);
    PDBFile* GetPdbFile() const { return file_.Get(); }

private:
    std::vector<std::unique_ptr<KsPDBContainerItem>> items_;
    KsRef<PDBFile> file_;
};
