#include "engine/streams/KsContainer.h"

const unit16* KsNamedContainer::GetName() const {
    return fullName_.Empty() ? nullptr : fullName_.CStr();
}

void KsNamedContainer::SetName(const unit16* name) {
    fullName_ = string16(name);
    int32_t cut = -1;
    for (int32_t i = fullName_.Length() - 1; i >= 0; --i) {
        if (fullName_[i] == '/' || fullName_[i] == '\\') {
            cut = i;
            break;
        }
    }
    if (cut >= 0) separator_ = fullName_[cut];
    pathName_ = fullName_.Left(cut + 1);
    fileName_ = fullName_.Substr(cut + 1);
}

KsStatus KsNamedContainer::GetSize(ks_pos_t* size) {
    if (fullName_.Empty()) return KS_FAIL;
    if (size) *size = static_cast<ks_pos_t>(items_.size());
    return KS_OK;
}

const KsContainerItemInfo* KsNamedContainer::GetObjectInfo(int index) {
    if (index < 0 || index >= GetObjectCount()) return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

const KsContainerItemInfo* KsArcContainerBase::GetObjectInfo(const string16& name) {
    for (int i = 0; i < GetObjectCount(); ++i) {
        const KsContainerItemInfo* info = GetObjectInfo(i);
        const unit16* itemName = info->GetName();
        if (itemName && name == string16(itemName)) return info;
    }
    return nullptr;
}
