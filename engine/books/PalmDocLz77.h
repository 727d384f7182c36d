#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// PalmDOC LZ77, the compression of PalmDOC and most MOBI text records. Decodes `size` bytes into
// `out` (replacing its contents). A back-reference that reaches before the start of the output
// (or has distance 0) yields '?' for each of its bytes; a literal run or a pair cut off by the
// end of the input ends the record. False when the output would exceed `limit` bytes.
[[nodiscard]] bool DecompressPalmDoc(const uint8_t* data, size_t size, std::vector<uint8_t>& out,
                                     size_t limit);
