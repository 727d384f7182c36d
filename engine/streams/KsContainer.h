#pragma once

#include <memory>
#include <vector>

#include "engine/streams/KsStream.h"

// What a container knows of one of its items.
class KsContainerItemInfo {
public:
    virtual ~KsContainerItemInfo() = default;
    virtual ks_pos_t GetSize() const = 0;
    // Null when the item has no name.
    virtual const unit16* GetName() const = 0;
    virtual uint32_t GetFlags() const = 0;
    virtual bool IsContainer() const = 0;
};

// The usual item record. The source fields are for the container's own use (an archive keeps an
// entry's header offset, packed size and method there).
class KsCommonContainerItemInfo : public KsContainerItemInfo {
public:
    ks_pos_t GetSize() const override { return size; }
    const unit16* GetName() const override { return name.Empty() ? nullptr : name.CStr(); }
    uint32_t GetFlags() const override { return flags; }
    bool IsContainer() const override { return isContainer; }

    ks_pos_t size = 0;  // unpacked size
    string16 name;
    uint32_t flags = 0;
    bool isContainer = false;
    uint32_t sourcePosition = 0;
    uint32_t sourceSize = 0;
    uint32_t sourceFlags = 0;
};

// A container of named items, each of which opens as a stream.
class KsContainer : public KsStorageObject {
public:
    using KsStorageObject::GetSize;

    bool IsContainer() const override { return true; }
    // Null for an index outside 0 ... count - 1.
    virtual const KsContainerItemInfo* GetObjectInfo(int index) = 0;
    virtual int GetObjectCount() = 0;
    // Null when there is no such item or it cannot be opened.
    virtual KsRef<KsStream> OpenStream(const unit16* name, KsStreamMode mode) = 0;
    KsRef<KsStream> OpenStream(const string16& name, KsStreamMode mode) {
        return OpenStream(name.CStr(), mode);
    }
};

// A container with a name and an owned item list.
class KsNamedContainer : public KsContainer {
public:
    using KsContainer::GetSize;
    using KsContainer::OpenStream;

    const unit16* GetName() const override;
    // Also takes the path separator found in the name.
    void SetName(const unit16* name) override;
    const string16& FullName() const { return fullName_; }
    const string16& FileName() const { return fileName_; }
    const string16& PathName() const { return pathName_; }
    unit16 PathSeparator() const { return separator_; }

    // The item count; fails while the container has no name.
    KsStatus GetSize(ks_pos_t* size) override;
    const KsContainerItemInfo* GetObjectInfo(int index) override;
    int GetObjectCount() override { return static_cast<int>(items_.size()); }

protected:
    void AddItem(std::unique_ptr<KsContainerItemInfo> item) { items_.push_back(std::move(item)); }
    void ClearItems() { items_.clear(); }
    KsContainerItemInfo* ItemAt(int index) { return items_[static_cast<size_t>(index)].get(); }

private:
    string16 fullName_;
    string16 fileName_;
    string16 pathName_;
    unit16 separator_ = u'\\';
    std::vector<std::unique_ptr<KsContainerItemInfo>> items_;
};

// Base of archive containers: reads its item list from a base stream.
class KsArcContainerBase : public KsNamedContainer {
public:
    using KsNamedContainer::GetObjectInfo;
    using KsNamedContainer::OpenStream;

    explicit KsArcContainerBase(KsRef<KsStream> base) : base_(std::move(base)) {}

    // The first item whose name equals the text exactly, or null.
    const KsContainerItemInfo* GetObjectInfo(const string16& name);
    // Reads the item list; the number of items found, or a negative value on failure.
    virtual int ReadContents() = 0;
    KsRef<KsStream> OpenStream(const unit16*, KsStreamMode) override { return nullptr; }

protected:
    KsRef<KsStream>& BaseStream() { return base_; }

private:
    KsRef<KsStream> base_;
};
