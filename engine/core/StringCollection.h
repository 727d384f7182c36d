#pragma once

#include <vector>

#include "engine/core/KsString.h"

// A growable array of strings.
template <typename Unit>
class KsBasicStringCollection {
public:
    using String = KsBasicString<Unit>;
    using Less = bool (*)(const String& a, const String& b);

    int32_t Length() const { return static_cast<int32_t>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    const String& operator[](int32_t index) const { return items_[static_cast<size_t>(index)]; }
    String& operator[](int32_t index) { return items_[static_cast<size_t>(index)]; }
    const String* begin() const { return items_.data(); }
    const String* end() const { return items_.data() + items_.size(); }

    // Returns the index of the new string.
    int32_t Add(const String& text) {
        items_.push_back(text);
        return Length() - 1;
    }
    // Erases a run; nothing happens when the run lies outside the array.
    void Erase(int32_t start, int32_t count) {
        if (start < 0 || count <= 0 || start >= Length()) return;
        if (count > Length() - start) count = Length() - start;
        items_.erase(items_.begin() + start, items_.begin() + start + count);
    }
    void Clear() { items_.clear(); }
    // Sorts by unsigned code units, or by the given comparison.
    void Sort(Less less = nullptr);

private:
    std::vector<String> items_;
};

using KsString8Collection = KsBasicStringCollection<unit8>;
using KsString16Collection = KsBasicStringCollection<unit16>;

extern template class KsBasicStringCollection<unit8>;
extern template class KsBasicStringCollection<unit16>;

// A string16 collection with a hash index over its strings: `Add` returns the index of an equal
// string when there is one. Indexes are stable; strings are never removed singly.
class KsHashedString16Collection {
public:
    int32_t Length() const { return strings_.Length(); }
    const string16& operator[](int32_t index) const { return strings_[index]; }
    int32_t Add(const string16& text);
    int32_t Find(const string16& text) const;
    void Clear();
    // 32-bit FNV-1 over the code units.
    static uint32_t FnvHash(const string16& text);

private:
    struct Overflow {
        int32_t index;
        int32_t next;  // index into overflow_, or -1
    };
    struct Bucket {
        int32_t first = -1;     // string index, or -1 when empty
        int32_t overflow = -1;  // index into overflow_, or -1
    };
    void Rebuild(size_t strings);
    void Insert(int32_t index);

    KsString16Collection strings_;
    std::vector<Bucket> buckets_;
    std::vector<Overflow> overflow_;
};
