#pragma once

#include <vector>

#include "engine/core/TnPropAccessor.h"

// The sorted in-memory store of named values. Keys are kept in byte order; the revision grows when
// an entry is added and when the container is cleared (not when a value changes).
class TnPropContainer final : public TnPropAccessor {
public:
    using TnPropAccessor::writeText;

    string8 keyPrefix() const override { return string8(); }
    void removeAll() override;
    int count() const override { return static_cast<int>(entries_.size()); }
    const string8& nameAt(int index) const override;
    const string16& valueAt(int index) const override;
    void setValueAt(int index, const string16& value) override;
    bool contains(const char* key) const override;
    bool readText(const char* key, string16& value) const override;
    void writeText(const char* key, const string16& value) override;
    KsRef<TnPropAccessor> subset(const char* prefix) override;
    KsRef<TnPropContainer> copy() const override;

    uint64_t revision() const { return revision_; }
    // First index whose key is not less than `key`.
    int lowerBound(const char* key) const;
    // Removes entries [start, end); used by sub-containers.
    void removeRange(int start, int end);

private:
    struct Entry {
        string8 key;
        string16 value;
    };
    // Index of the key, or -1.
    int find(const char* key) const;

    std::vector<Entry> entries_;
    uint64_t revision_ = 0;
};

// A new empty container in its first holder.
KsRef<TnPropContainer> CreatePropContainer();
