#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/dom/ldomStorageChunk.h"

class tinyNodeCollection;

// One of a document's four record storages ('t' text records, 'e' element records, 'r' render
// rectangles, 's' style entries). Chunks are kept in least-recently-used order against a memory
// budget; a chunk beyond the budget would be swapped to the document's cache file, and as this
// program never has one every chunk stays resident.
class ldomDataStorageManager {
public:
    // Chunk numbers are 16 bits wide (the high half of a record address).
    static constexpr uint32_t kMaxChunks = 0x10000;
    // compact() value that asks to unload everything but the active chunk.
    static constexpr uint32_t kUnloadAll = 0xFFFFFF;

    ldomDataStorageManager(tinyNodeCollection* owner, char letter, uint32_t chunkSize,
                           uint32_t memoryBudget);
    ~ldomDataStorageManager();
    ldomDataStorageManager(const ldomDataStorageManager&) = delete;
    ldomDataStorageManager& operator=(const ldomDataStorageManager&) = delete;

    // --- Append storages ('t', 'e') ---
    // Reserves `size` bytes (a multiple of 16) for a new record in the active chunk, opening a
    // new chunk when it does not fit. Returns the record address ((chunk << 16) | offset / 16)
    // and its bytes; false when the storage has no chunk numbers left.
    [[nodiscard]] bool allocRecord(uint32_t size, uint32_t& address, uint8_t*& record);
    // The record at an address, or null (logged) when the address lies outside the used part of
    // its chunk. Moves the chunk to the head of the LRU list.
    uint8_t* getRecord(uint32_t address);

    // --- Directly indexed storages ('r', 's') ---
    // Bytes at `offset` of chunk `index`; with `create`, missing chunks up to it are made
    // (zero-filled), otherwise null is returned for them.
    uint8_t* getSlot(uint32_t index, uint32_t offset, bool create);

    // Tries to bring the resident size (plus `extra`) back under the budget.
    void compact(uint32_t extra);

    char letter() const { return letter_; }
    uint32_t chunkSize() const { return chunkSize_; }
    uint32_t memoryBudget() const { return memoryBudget_; }
    size_t residentBytes() const { return residentBytes_; }
    uint32_t chunkCount() const { return static_cast<uint32_t>(chunks_.size()); }
    const ldomStorageChunk* chunk(uint32_t index) const {
        return index < chunks_.size() ? chunks_[index].get() : nullptr;
    }
    // Most recently used chunk (head of the LRU list).
    const ldomStorageChunk* mostRecent() const { return recent_; }

private:
    ldomStorageChunk* newChunk();
    void allocateBuffer(ldomStorageChunk& chunk, uint32_t size);
    void touch(ldomStorageChunk* chunk);

    tinyNodeCollection* owner_;
    std::vector<std::unique_ptr<ldomStorageChunk>> chunks_;
    ldomStorageChunk* active_ = nullptr;
    ldomStorageChunk* recent_ = nullptr;
    size_t residentBytes_ = 0;
    uint32_t memoryBudget_;
    uint32_t chunkSize_;
    char letter_;
};
