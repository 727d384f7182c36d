#include "engine/dom/ldomDataStorageManager.h"

#include "engine/core/Log.h"
#include "engine/dom/tinyNodeCollection.h"

ldomDataStorageManager::ldomDataStorageManager(tinyNodeCollection* owner, char letter,
                                               uint32_t chunkSize, uint32_t memoryBudget)
    : owner_(owner), memoryBudget_(memoryBudget), chunkSize_(chunkSize), letter_(letter) {}

ldomDataStorageManager::~ldomDataStorageManager() = default;

ldomStorageChunk* ldomDataStorageManager::newChunk() {
    if (chunks_.size() >= kMaxChunks) return nullptr;
    auto index = static_cast<uint16_t>(chunks_.size());
    chunks_.push_back(std::make_unique<ldomStorageChunk>(this, index, letter_));
    ldomStorageChunk* chunk = chunks_.back().get();
    chunk->lruNext = recent_;
    if (recent_) recent_->lruPrev = chunk;
    recent_ = chunk;
    return chunk;
}

void ldomDataStorageManager::allocateBuffer(ldomStorageChunk& chunk, uint32_t size) {
    chunk.allocate(size);
    residentBytes_ += size;
}

void ldomDataStorageManager::touch(ldomStorageChunk* chunk) {
    if (chunk == recent_) return;
    // Unlink, then put at the head.
    if (chunk->lruPrev) chunk->lruPrev->lruNext = chunk->lruNext;
    if (chunk->lruNext) chunk->lruNext->lruPrev = chunk->lruPrev;
    chunk->lruPrev = nullptr;
    chunk->lruNext = recent_;
    if (recent_) recent_->lruPrev = chunk;
    recent_ = chunk;
}

bool ldomDataStorageManager::allocRecord(uint32_t size, uint32_t& address, uint8_t*& record) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!active_ || attempt == 1) {
            ldomStorageChunk* chunk = newChunk();
            if (!chunk) return false;
            active_ = chunk;
            compact(0);
        }
        if (!active_->hasBuffer()) allocateBuffer(*active_, size > chunkSize_ ? size : chunkSize_);
        int64_t offset = active_->append(size);
        if (offset >= 0) {
            address = (uint32_t(active_->index()) << 16) | uint32_t(offset / kRecordAlignment);
            record = active_->buffer() + offset;
            touch(active_);
            return true;
        }
    }
    // A fresh chunk is always large enough for the record.
    FatalError(letter_ == 't' ? 1001 : 1002, letter_ == 't'
                                                 ? "Unexpected error while allocation of text"
                                                 : "Unexpected error while allocation of element");
}

uint8_t* ldomDataStorageManager::getRecord(uint32_t address) {
    uint32_t index = address >> 16;
    uint32_t offset = (address & 0xFFFF) * kRecordAlignment;
    if (index >= chunks_.size()) {
        LogError("Chunk %u is out of bounds for storage %c, chunkCount=%u", index, letter_,
                 chunkCount());
        return nullptr;
    }
    ldomStorageChunk* chunk = chunks_[index].get();
    if (offset >= chunk->usedSize()) {
        LogError("Offset %d is out of bounds (%d) for storage chunk %c%d, chunkCount=%d",
                 int(offset), int(chunk->usedSize()), letter_, int(index), int(chunkCount()));
        return nullptr;
    }
    touch(chunk);
    return chunk->buffer() + offset;
}

uint8_t* ldomDataStorageManager::getSlot(uint32_t index, uint32_t offset, bool create) {
    if (index >= chunks_.size()) {
        if (!create || index >= kMaxChunks) return nullptr;
        while (chunks_.size() <= index) {
            ldomStorageChunk* chunk = newChunk();
            allocateBuffer(*chunk, chunkSize_);
            chunk->useAll();
        }
        compact(0);
    }
    ldomStorageChunk* chunk = chunks_[index].get();
    if (offset >= chunk->usedSize()) return nullptr;
    touch(chunk);
    return chunk->buffer() + offset;
}

void ldomDataStorageManager::compact(uint32_t extra) {
    uint64_t limit = uint64_t(memoryBudget_) + memoryBudget_ / 10;
    if (residentBytes_ + extra <= limit) return;
    uint64_t sum = extra;
    for (ldomStorageChunk* chunk = recent_; chunk; chunk = chunk->lruNext) {
        if (sum + chunk->bufferSize() < memoryBudget_) {
            sum += chunk->bufferSize();
            continue;
        }
        if (chunk == active_ && extra < 0xFFFFFFF) continue;
        if (!chunk->hasBuffer()) continue;
        // Swapping this chunk out needs a cache file. The document cannot make one here, so
        // the chunk stays resident and loading goes on.
        (void)owner_->createCacheFile();
    }
}
