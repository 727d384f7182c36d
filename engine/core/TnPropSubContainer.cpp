#include "engine/core/TnPropSubContainer.h"

namespace {
const string16 kNoValue;
}  // namespace

TnPropSubContainer::TnPropSubContainer(KsRef<TnPropContainer> parent, const char* prefix)
    : parent_(std::move(parent)), prefix_(prefix) {}

void TnPropSubContainer::sync() const {
    if (revision_ == parent_->revision()) return;
    start_ = parent_->lowerBound(prefix_.CStr());
    string8 upper = prefix_;
    upper.Append('\x7F');
    end_ = parent_->lowerBound(upper.CStr());
    revision_ = parent_->revision();
}

string8 TnPropSubContainer::fullKey(const char* key) const {
    string8 full = prefix_;
    full.Append(key);
    return full;
}

void TnPropSubContainer::removeAll() {
    sync();
    parent_->removeRange(start_, end_);
}

int TnPropSubContainer::count() const {
    sync();
    return end_ - start_;
}

const string8& TnPropSubContainer::nameAt(int index) const {
    sync();
    if (index < 0 || index >= end_ - start_) {
        shortName_.Clear();
        return shortName_;
    }
    shortName_ = parent_->nameAt(start_ + index).Substr(prefix_.Length());
    return shortName_;
}

const string16& TnPropSubContainer::valueAt(int index) const {
    sync();
    if (index < 0 || index >= end_ - start_) return kNoValue;
    return parent_->valueAt(start_ + index);
}

void TnPropSubContainer::setValueAt(int index, const string16& value) {
    sync();
    if (index < 0 || index >= end_ - start_) return;
    parent_->setValueAt(start_ + index, value);
}

bool TnPropSubContainer::contains(const char* key) const {
    return parent_->contains(fullKey(key).CStr());
}

bool TnPropSubContainer::readText(const char* key, string16& value) const {
    return parent_->readText(fullKey(key).CStr(), value);
}

void TnPropSubContainer::writeText(const char* key, const string16& value) {
    parent_->writeText(fullKey(key).CStr(), value);
}

KsRef<TnPropAccessor> TnPropSubContainer::subset(const char* prefix) {
    return parent_->subset(fullKey(prefix).CStr());
}

KsRef<TnPropContainer> TnPropSubContainer::copy() const {
    KsRef<TnPropContainer> result = CreatePropContainer();
    for (int i = 0; i < count(); ++i)
        result->writeText(nameAt(i).CStr(), valueAt(i));
    return result;
}
