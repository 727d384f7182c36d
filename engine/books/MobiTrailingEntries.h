#pragma once

#include <cstddef>
#include <cstdint>

// MOBI text records can end with trailing entries, one per set bit of the extra data flags
// (record 0, offset 242). They are never compressed and must be cut off before decoding.

// Reads a backward-encoded variable-width number that ends at data[size - 1]: 7 bits per byte,
// most significant group first, the first byte marked by its top bit. Stores the value and the
// number of bytes it takes; false when no marked byte is found within 4 bytes.
[[nodiscard]] bool ReadBackwardVarint(const uint8_t* data, size_t size, uint32_t& value,
                                      size_t& length);

// Removes the trailing entries from the end of a record: first the entries of bits 15 ... 1
// (the highest bit's entry is last in the record; each ends with its own total size as a
// backward-encoded number), then the multibyte entry of bit 0 (its last byte's low 2 bits count
// the bytes before it). Stores the length of what remains; false when the entries do not fit
// the record (a damaged record).
[[nodiscard]] bool StripTrailingEntries(const uint8_t* data, size_t size, uint16_t flags,
                                        size_t& remaining);
