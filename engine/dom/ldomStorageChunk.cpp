#include "engine/dom/ldomStorageChunk.h"

void ldomStorageChunk::allocate(uint32_t size) {
    if (buffer_) return;
    // Value-initialised: zero-filled.
    buffer_.reset(new uint8_t[size]());
    bufferSize_ = size;
}

int64_t ldomStorageChunk::append(uint32_t size) {
    if (!buffer_ || size > freeSpace()) return -1;
    uint32_t offset = used_;
    used_ += size;
    return offset;
}
