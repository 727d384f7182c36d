#pragma once

#include <cstdint>
#include <memory>

class ldomDataStorageManager;

// One chunk of a record storage: a zero-filled buffer that records are appended to, linked into
// its storage's least-recently-used list. The buffer never moves once allocated, so pointers to
// records stay valid for the document's lifetime.
class ldomStorageChunk {
public:
    ldomStorageChunk(ldomDataStorageManager* manager, uint16_t index, char letter)
        : manager_(manager), index_(index), letter_(letter) {}
    ldomStorageChunk(const ldomStorageChunk&) = delete;
    ldomStorageChunk& operator=(const ldomStorageChunk&) = delete;

    bool hasBuffer() const { return buffer_ != nullptr; }
    // Allocates the zero-filled buffer (once).
    void allocate(uint32_t size);
    uint8_t* buffer() { return buffer_.get(); }
    const uint8_t* buffer() const { return buffer_.get(); }
    uint32_t bufferSize() const { return bufferSize_; }
    uint32_t usedSize() const { return used_; }
    uint32_t freeSpace() const { return bufferSize_ - used_; }
    uint16_t index() const { return index_; }
    char letter() const { return letter_; }
    ldomDataStorageManager* manager() const { return manager_; }

    // Takes `size` bytes at the used size; returns the old used size, or -1 when there is no room.
    int64_t append(uint32_t size);
    // Marks the whole buffer as used (directly indexed storages).
    void useAll() { used_ = bufferSize_; }

    // LRU links: next is older, previous is newer.
    ldomStorageChunk* lruNext = nullptr;
    ldomStorageChunk* lruPrev = nullptr;

private:
    ldomDataStorageManager* manager_;
    std::unique_ptr<uint8_t[]> buffer_;
    uint32_t bufferSize_ = 0;
    uint32_t used_ = 0;
    uint16_t index_;
    char letter_;
};
