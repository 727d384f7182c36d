#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Inflates one record that holds a whole zlib stream (RFC 1950), as eReader books store their
// text. Replaces the contents of `out`. False unless the stream ends, consumes all of the input
// and decodes to at most `limit` bytes.
[[nodiscard]] bool InflateZlibRecord(const uint8_t* data, size_t size, std::vector<uint8_t>& out,
                                     size_t limit);
