#pragma once

#include <cstdint>

// The character drawn in place of one that a face lacks (typographic quotes as ASCII quotes,
// dashes as '-', bullets as '*' ...), or 0 when there is none.
uint32_t GetReplacementChar(uint32_t ch);
