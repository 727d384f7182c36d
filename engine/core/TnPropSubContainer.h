#pragma once

#include "engine/core/TnPropContainer.h"

// A live view of the entries of a parent container whose keys begin with a prefix; names are seen
// without the prefix. The index range is recomputed whenever the parent's revision changed.
class TnPropSubContainer final : public TnPropAccessor {
public:
    using TnPropAccessor::writeText;

    TnPropSubContainer(KsRef<TnPropContainer> parent, const char* prefix);

    string8 keyPrefix() const override { return prefix_; }
    void removeAll() override;
    int count() const override;
    const string8& nameAt(int index) const override;
    const string16& valueAt(int index) const override;
    void setValueAt(int index, const string16& value) override;
    bool contains(const char* key) const override;
    bool readText(const char* key, string16& value) const override;
    void writeText(const char* key, const string16& value) override;
    KsRef<TnPropAccessor> subset(const char* prefix) override;
    KsRef<TnPropContainer> copy() const override;

private:
    void sync() const;
    string8 fullKey(const char* key) const;

    KsRef<TnPropContainer> parent_;
    string8 prefix_;
    mutable int start_ = 0;
    mutable int end_ = 0;
    mutable uint64_t revision_ = UINT64_MAX;
    mutable string8 shortName_;  // the last name handed out by nameAt
};
