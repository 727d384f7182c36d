#pragma once

#include <cstdint>

#include "engine/core/KsString.h"
#include "engine/core/StringCollection.h"

// The document's attribute values: each distinct text once, indexed by insertion position
// (32-bit indexes; hashed with FNV-1 over the UTF-16 units).
class ldomAttrValueTable {
public:
    static constexpr uint32_t kNotFound = 0xFFFFFFFFu;

    // Index of the text, added when new; kNotFound once the table holds kMaxAttrValues values
    // (logged once).
    uint32_t indexOf(const string16& text);
    // Index of the text, or kNotFound, without adding it.
    uint32_t find(const string16& text) const;
    // The text of an index (the shared empty string for an index not handed out).
    const string16& valueAt(uint32_t index) const;
    uint32_t count() const { return static_cast<uint32_t>(values_.Length()); }

private:
    KsHashedString16Collection values_;
    bool full_ = false;
};
