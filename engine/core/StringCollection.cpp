#include "engine/core/StringCollection.h"

#include <algorithm>

template <typename Unit>
void KsBasicStringCollection<Unit>::Sort(Less less) {
    if (less)
        std::stable_sort(items_.begin(), items_.end(), less);
    else
        std::stable_sort(items_.begin(), items_.end(),
                         [](const String& a, const String& b) { return a.Compare(b) < 0; });
}

template class KsBasicStringCollection<unit8>;
template class KsBasicStringCollection<unit16>;

uint32_t KsHashedString16Collection::FnvHash(const string16& text) {
    uint32_t h = 0x811C9DC5u;
    for (unit16 u : text) {
        h *= 16777619u;
        h ^= static_cast<uint32_t>(u);
    }
    return h;
}

void KsHashedString16Collection::Rebuild(size_t strings) {
    size_t s = 16;
    while (s < strings)
        s *= 2;
    buckets_.assign(2 * s, Bucket());
    overflow_.clear();
    for (int32_t i = 0; i < strings_.Length(); ++i)
        Insert(i);
}

void KsHashedString16Collection::Insert(int32_t index) {
    Bucket& bucket = buckets_[FnvHash(strings_[index]) % buckets_.size()];
    if (bucket.first < 0) {
        bucket.first = index;
        return;
    }
    overflow_.push_back({index, bucket.overflow});
    bucket.overflow = static_cast<int32_t>(overflow_.size() - 1);
}

int32_t KsHashedString16Collection::Find(const string16& text) const {
    if (buckets_.empty()) return -1;
    const Bucket& bucket = buckets_[FnvHash(text) % buckets_.size()];
    if (bucket.first < 0) return -1;
    if (strings_[bucket.first] == text) return bucket.first;
    for (int32_t o = bucket.overflow; o >= 0; o = overflow_[static_cast<size_t>(o)].next) {
        int32_t index = overflow_[static_cast<size_t>(o)].index;
        if (strings_[index] == text) return index;
    }
    return -1;
}

int32_t KsHashedString16Collection::Add(const string16& text) {
    int32_t found = Find(text);
    if (found >= 0) return found;
    size_t count = static_cast<size_t>(strings_.Length()) + 1;
    bool rebuild = buckets_.size() < 2 * count;
    int32_t index = strings_.Add(text);
    if (rebuild)
        Rebuild(count);
    else
        Insert(index);
    return index;
}

void KsHashedString16Collection::Clear() {
    strings_.Clear();
    buckets_.clear();
    overflow_.clear();
}
