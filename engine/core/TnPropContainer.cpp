#include "engine/core/TnPropContainer.h"

#include <cstring>

#include "engine/core/TnPropSubContainer.h"

namespace {
const string8 kNoName;
const string16 kNoValue;
}  // namespace

void TnPropContainer::removeAll() {
    entries_.clear();
    ++revision_;
}

const string8& TnPropContainer::nameAt(int index) const {
    if (index < 0 || index >= count()) return kNoName;
    return entries_[static_cast<size_t>(index)].key;
}

const string16& TnPropContainer::valueAt(int index) const {
    if (index < 0 || index >= count()) return kNoValue;
    return entries_[static_cast<size_t>(index)].value;
}

void TnPropContainer::setValueAt(int index, const string16& value) {
    if (index < 0 || index >= count()) return;
    entries_[static_cast<size_t>(index)].value = value;
}

int TnPropContainer::lowerBound(const char* key) const {
    int lo = 0, hi = count();
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (std::strcmp(entries_[static_cast<size_t>(mid)].key.CStr(), key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

int TnPropContainer::find(const char* key) const {
    if (!key) return -1;
    int at = lowerBound(key);
    if (at < count() && std::strcmp(entries_[static_cast<size_t>(at)].key.CStr(), key) == 0)
        return at;
    return -1;
}

bool TnPropContainer::contains(const char* key) const {
    return find(key) >= 0;
}

bool TnPropContainer::readText(const char* key, string16& value) const {
    int at = find(key);
    if (at < 0) return false;
    value = entries_[static_cast<size_t>(at)].value;
    return true;
}

void TnPropContainer::writeText(const char* key, const string16& value) {
    if (!key || !*key) return;
    int at = lowerBound(key);
    if (at < count() && std::strcmp(entries_[static_cast<size_t>(at)].key.CStr(), key) == 0) {
        entries_[static_cast<size_t>(at)].value = value;
        return;
    }
    entries_.insert(entries_.begin() + at, Entry{string8(key), value});
    ++revision_;
}

void TnPropContainer::removeRange(int start, int end) {
    if (start < 0) start = 0;
    if (end > count()) end = count();
    if (start >= end) return;
    entries_.erase(entries_.begin() + start, entries_.begin() + end);
    ++revision_;
}

KsRef<TnPropAccessor> TnPropContainer::subset(const char* prefix) {
    return KsRef<TnPropAccessor>(new TnPropSubContainer(KsRef<TnPropContainer>(this), prefix));
}

KsRef<TnPropContainer> TnPropContainer::copy() const {
    KsRef<TnPropContainer> result = CreatePropContainer();
    result->entries_ = entries_;
    result->revision_ = 1;
    return result;
}

KsRef<TnPropContainer> CreatePropContainer() {
    return KsRef<TnPropContainer>(new TnPropContainer());
}
