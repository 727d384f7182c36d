#include "engine/books/MobiTrailingEntries.h"

bool ReadBackwardVarint(const uint8_t* data, size_t size, uint32_t& value, size_t& length) {
    value = 0;
    length = 0;
    for (unsigned shift = 0; length < size && length < 4; shift += 7) {
        uint8_t b = data[size - 1 - length];
        ++length;
        value |= static_cast<uint32_t>(b & 0x7F) << shift;
        if (b & 0x80) return true;
    }
    return false;
}

bool StripTrailingEntries(const uint8_t* data, size_t size, uint16_t flags, size_t& remaining) {
    for (int bit = 15; bit >= 1; --bit) {
        if (!(flags & (1u << bit))) continue;
        uint32_t entrySize = 0;
        size_t sizeBytes = 0;
        if (!ReadBackwardVarint(data, size, entrySize, sizeBytes)) return false;
        // The size counts the size bytes themselves.
        if (entrySize < sizeBytes || entrySize > size) return false;
        size -= entrySize;
    }
    if (flags & 1u) {
        if (size == 0) return false;
        size_t overlap = (data[size - 1] & 3u) + 1u;
        if (overlap > size) return false;
        size -= overlap;
    }
    remaining = size;
    return true;
}
