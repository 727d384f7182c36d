#pragma once

#include "engine/streams/KsContainer.h"

// An item of a PDB container: a named region of the raw PDB file. The item holds the file's
// stream, so it stays readable after the decoded text stream is gone.
class KsPDBContainerItem : public KsContainerItemInfo {
public:
    KsPDBContainerItem(KsRef<KsStream> base, ks_pos_t start, ks_pos_t size, string16 name)
        : base_(std::move(base)), start_(start), size_(size), name_(std::move(name)) {}

    ks_pos_t GetSize() const override { return size_; }
    const unit16* GetName() const override { return name_.Empty() ? nullptr : name_.CStr(); }
    uint32_t GetFlags() const override { return 0; }
    bool IsContainer() const override { return false; }
    [[nodiscard]] KsStatus GetSize(ks_pos_t* size) const {
        if (size) *size = size_;
        return KS_OK;
    }
    // A stream of the item's bytes; null for an item without data.
    virtual KsRef<KsStream> OpenItemStream() { return nullptr; }

    const string16& Name() const { return name_; }
    ks_pos_t Start() const { return start_; }

protected:
    KsRef<KsStream>& BaseStream() { return base_; }

private:
    KsRef<KsStream> base_;
    ks_pos_t start_;
    ks_pos_t size_;
    string16 name_;
};

// An item whose bytes are read in place from the file (no copy): images of MOBI and eReader
// books.
class KsPDBRegionContainerItem final : public KsPDBContainerItem {
public:
    using KsPDBContainerItem::KsPDBContainerItem;
    KsRef<KsStream> OpenItemStream() override;
};
