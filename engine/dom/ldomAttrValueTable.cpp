#include "engine/dom/ldomAttrValueTable.h"

#include "engine/core/Limits.h"
#include "engine/core/Log.h"

uint32_t ldomAttrValueTable::find(const string16& text) const {
    int32_t index = values_.Find(text);
    return index < 0 ? kNotFound : static_cast<uint32_t>(index);
}

uint32_t ldomAttrValueTable::indexOf(const string16& text) {
    uint32_t found = find(text);
    if (found != kNotFound) return found;
    if (count() >= kMaxAttrValues) {
        if (!full_)
            LogError("Attribute value table is full (%u values): new values are dropped", count());
        full_ = true;
        return kNotFound;
    }
    return static_cast<uint32_t>(values_.Add(text));
}

const string16& ldomAttrValueTable::valueAt(uint32_t index) const {
    static const string16 empty;
    return index < count() ? values_[static_cast<int32_t>(index)] : empty;
}
