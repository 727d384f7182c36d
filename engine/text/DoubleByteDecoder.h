#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/Types.h"

// The double-byte charsets of East Asian text, decoded through lookup tables that are built from
// the system's iconv on first use:
//   Gbk       GBK as code page 936 (GB2312 and the GBK extensions; 0x80 is the euro sign)
//   EucJp     EUC-JIS-2004 (JIS X 0213 planes 1 and 2, half-width katakana after 0x8E)
//   ShiftJis  Shift_JIS-2004 (0x5C is the yen sign, 0x7E the overline, 0xA1-0xDF half-width kana)
//   Big5      code page 950; its user-defined areas map into the private use area
//   EucKr     KS X 1001 as extended by code page 949 (the Unified Hangul Code)
enum class DoubleByteCharset { Gbk, EucJp, ShiftJis, Big5, EucKr };

struct DoubleByteProgress {
    size_t consumed;     // bytes used
    size_t produced;     // UTF-16 units written
    bool needMoreInput;  // stopped before a character whose bytes do not all lie in the input
};

// Decodes whole characters from `src` into `dst`. A byte below 0x80 is itself (0 gives '?'); a
// lead byte takes its trail byte (EUC-JP's 0x8F two of them). An unmapped sequence gives '?'; a
// lead byte followed by a byte that cannot be a trail byte gives '?' and the byte is decoded
// again on its own, so that markup after a broken character survives. Characters beyond the
// Basic Multilingual Plane become surrogate pairs, JIS X 0213 composed characters two units.
// Stops before a character that does not fit into `dst`.
DoubleByteProgress DecodeDoubleByte(DoubleByteCharset charset, const uint8_t* src, size_t length,
                                    unit16* dst, size_t capacity);
