#include "engine/graphics/KsGlyphCache.h"

KsGlyphCache::~KsGlyphCache() {
    Clear();
}

void KsGlyphCache::Clear() {
    while (head_)
        Remove(head_);
}

void KsGlyphCache::Unlink(KsGlyphEntry* entry) {
    if (entry->lruPrev)
        entry->lruPrev->lruNext = entry->lruNext;
    else
        head_ = entry->lruNext;
    if (entry->lruNext)
        entry->lruNext->lruPrev = entry->lruPrev;
    else
        tail_ = entry->lruPrev;
    entry->lruPrev = entry->lruNext = nullptr;
}

void KsGlyphCache::Remove(KsGlyphEntry* entry) {
    Unlink(entry);
    if (entry->owner) entry->owner->index_.erase(entry->ch);
    total_ -= entry->AccountedSize();
    --count_;
    delete entry;
}

void KsGlyphCache::Touch(KsGlyphEntry* entry) {
    if (entry == head_) return;
    Unlink(entry);
    entry->lruNext = head_;
    if (head_) head_->lruPrev = entry;
    head_ = entry;
    if (!tail_) tail_ = entry;
}

KsGlyphEntry* KsGlyphCache::Add(std::unique_ptr<KsGlyphEntry> entry) {
    uint32_t size = entry->AccountedSize();
    while (tail_ && total_ + size > limit_)
        Remove(tail_);
    KsGlyphEntry* raw = entry.release();
    raw->lruPrev = nullptr;
    raw->lruNext = head_;
    if (head_) head_->lruPrev = raw;
    head_ = raw;
    if (!tail_) tail_ = raw;
    total_ += size;
    ++count_;
    return raw;
}

const KsGlyphEntry* KsFontGlyphList::Find(uint32_t ch) {
    auto it = index_.find(ch);
    if (it == index_.end()) return nullptr;
    cache_->Touch(it->second);
    return it->second;
}

const KsGlyphEntry* KsFontGlyphList::Add(std::unique_ptr<KsGlyphEntry> entry) {
    auto it = index_.find(entry->ch);
    if (it != index_.end()) cache_->Remove(it->second);
    entry->owner = this;
    uint32_t ch = entry->ch;
    KsGlyphEntry* raw = cache_->Add(std::move(entry));
    index_[ch] = raw;
    return raw;
}

void KsFontGlyphList::Clear() {
    while (!index_.empty())
        cache_->Remove(index_.begin()->second);
}
