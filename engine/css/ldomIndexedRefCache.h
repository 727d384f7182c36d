#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/KsRefCounter.h"
#include "engine/core/Log.h"

// Shared objects numbered from 1 (0 means "none") with a use count per slot. Adding an object
// equal to a cached one hands out the cached slot (and the cached object); a slot whose uses
// drop to zero is freed and reused first. `Traits` gives hash(const T&) and equal(a, b).
template <typename T, typename Traits>
class ldomIndexedRefCache {
public:
    // Indexes are 16-bit in the element entries.
    static constexpr uint32_t kMaxIndex = 0xFFFF;

    explicit ldomIndexedRefCache(uint32_t bucketCount) : buckets_(bucketCount, 0) {
        slots_.reserve(bucketCount / 2 + 1);
        slots_.emplace_back();  // index 0 is never used
    }

    // The index of an object equal to `object` (use count + 1), which replaces the caller's
    // reference; 0 when the cache is full or the object is null.
    uint16_t cache(KsRef<T>& object) {
        if (!object) return 0;
        const uint32_t hash = Traits::hash(*object);
        uint32_t& head = buckets_[hash & (buckets_.size() - 1)];
        for (uint32_t i = head; i != 0; i = slots_[i].nextInBucket) {
            if (slots_[i].hash == hash && Traits::equal(*slots_[i].object, *object)) {
                ++slots_[i].uses;
                object = slots_[i].object;
                return static_cast<uint16_t>(i);
            }
        }
        uint32_t index = freeHead_;
        if (index != 0) {
            freeHead_ = slots_[index].nextInBucket;
        } else {
            if (slots_.size() > kMaxIndex) {
                if (!fullLogged_) LogError("style or font cache is full: %u entries", kMaxIndex);
                fullLogged_ = true;
                return 0;
            }
            index = static_cast<uint32_t>(slots_.size());
            slots_.emplace_back();
        }
        Slot& slot = slots_[index];
        slot.object = object;
        slot.hash = hash;
        slot.uses = 1;
        slot.nextInBucket = head;
        head = index;
        ++count_;
        return static_cast<uint16_t>(index);
    }

    void addRef(uint16_t index) {
        if (valid(index)) ++slots_[index].uses;
    }
    void release(uint16_t index) {
        if (!valid(index) || --slots_[index].uses > 0) return;
        Slot& slot = slots_[index];
        uint32_t* link = &buckets_[slot.hash & (buckets_.size() - 1)];
        while (*link != index)
            link = &slots_[*link].nextInBucket;
        *link = slot.nextInBucket;
        slot.object = nullptr;
        slot.nextInBucket = freeHead_;
        freeHead_ = index;
        --count_;
    }
    // The object of a slot, or null.
    KsRef<T> get(uint16_t index) const { return valid(index) ? slots_[index].object : nullptr; }
    uint32_t uses(uint16_t index) const { return valid(index) ? slots_[index].uses : 0; }
    // Live objects.
    int count() const { return count_; }
    void clear() {
        slots_.clear();
        slots_.emplace_back();
        std::fill(buckets_.begin(), buckets_.end(), 0);
        freeHead_ = 0;
        count_ = 0;
    }

private:
    struct Slot {
        KsRef<T> object;
        uint32_t hash = 0;
        uint32_t uses = 0;
        uint32_t nextInBucket = 0;  // also the free list link
    };
    bool valid(uint16_t index) const {
        return index != 0 && index < slots_.size() && slots_[index].object;
    }

    std::vector<Slot> slots_;
    std::vector<uint32_t> buckets_;  // power-of-two count
    uint32_t freeHead_ = 0;
    int count_ = 0;
    bool fullLogged_ = false;
};
