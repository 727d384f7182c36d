#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "engine/core/KsRefCounter.h"
#include "engine/graphics/KsGlyphEntry.h"

// The glyph bitmaps of all fonts, within one byte budget: a single least-recently-used list
// across fonts. Adding an entry first evicts the least recently used entries of any font while
// the new entry would not fit. Fonts hold the cache, so it outlives the font manager if need be.
class KsGlyphCache : public KsRefCounter {
public:
    static constexpr uint32_t kDefaultLimitBytes = 128u * 1024;

    explicit KsGlyphCache(uint32_t limitBytes = kDefaultLimitBytes) : limit_(limitBytes) {}
    ~KsGlyphCache() override;
    KsGlyphCache(const KsGlyphCache&) = delete;
    KsGlyphCache& operator=(const KsGlyphCache&) = delete;

    uint32_t TotalBytes() const { return total_; }
    uint32_t LimitBytes() const { return limit_; }
    int32_t EntryCount() const { return count_; }
    // Drops every entry of every font.
    void Clear();

private:
    friend class KsFontGlyphList;
    // Takes ownership; evicts first as needed.
    KsGlyphEntry* Add(std::unique_ptr<KsGlyphEntry> entry);
    void Touch(KsGlyphEntry* entry);
    // Unlinks and deletes; also removes it from its owner's index.
    void Remove(KsGlyphEntry* entry);
    void Unlink(KsGlyphEntry* entry);

    KsGlyphEntry* head_ = nullptr;  // most recently used
    KsGlyphEntry* tail_ = nullptr;
    uint32_t total_ = 0;
    uint32_t limit_;
    int32_t count_ = 0;
};

// One font's view of the cache: its entries by code point.
class KsFontGlyphList {
public:
    explicit KsFontGlyphList(KsRef<KsGlyphCache> cache) : cache_(std::move(cache)) {}
    ~KsFontGlyphList() { Clear(); }
    KsFontGlyphList(const KsFontGlyphList&) = delete;
    KsFontGlyphList& operator=(const KsFontGlyphList&) = delete;

    // A hit becomes the most recently used entry. The pointer stays valid until the cache is next
    // added to or cleared.
    const KsGlyphEntry* Find(uint32_t ch);
    const KsGlyphEntry* Add(std::unique_ptr<KsGlyphEntry> entry);
    void Clear();
    int32_t Count() const { return static_cast<int32_t>(index_.size()); }

private:
    friend class KsGlyphCache;
    KsRef<KsGlyphCache> cache_;
    std::unordered_map<uint32_t, KsGlyphEntry*> index_;
};
