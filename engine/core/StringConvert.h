#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/KsString.h"

// UTF-8 <-> UTF-16. Decoding never fails: a byte that cannot start or continue a sequence, an
// overlong form and a value above U+10FFFF each become one U+FFFD; four-byte sequences become
// surrogate pairs. Encoding writes a surrogate pair as one four-byte sequence and a lone
// surrogate as three bytes, so any string16 survives a round trip.
string16 Utf8ToString16(const char* text);
string16 Utf8ToString16(const char* bytes, size_t length);
string16 Utf8ToString16(const string8& text);
string8 String16ToUtf8(const string16& text);
string8 String16ToUtf8(const unit16* text, int32_t count);

// Bytes below 0x80 as they are, bytes 0x80-0xFF through a 128-entry table (entry = byte - 0x80);
// without a table the bytes are widened (Latin-1).
string16 BytesToString16(const uint8_t* bytes, size_t length, const unit16* table128);

// The operating system's 8-bit code page (on POSIX: the locale's codeset). Unmappable
// characters become '?'.
string8 String16ToSystem8(const string16& text);
string16 System8ToString16(const string8& text);

// Incremental UTF-8 decoding for the parsers: decodes from `src` into `dst` and reports how many
// bytes were consumed and units produced. A sequence is never split: when the rest of `src` is
// the start of a sequence and `final` is false, decoding stops before it; when `dst` has no room
// for a whole character it stops too.
struct Utf8DecodeResult {
    size_t consumed;
    size_t produced;
};
Utf8DecodeResult DecodeUtf8Buffer(const uint8_t* src, size_t srcLength, unit16* dst,
                                  size_t dstCapacity, bool final);

// Decodes one character at `src` (srcLength > 0); returns the bytes it takes (>= 1) and stores
// its code point (U+FFFD for malformed input). When `final` is false and the sequence may still
// be completed by more bytes, returns 0.
size_t DecodeUtf8Char(const uint8_t* src, size_t srcLength, bool final, uint32_t& codePoint);
// Writes a code point as UTF-16 (1 or 2 units); returns the units written.
inline int EncodeUtf16(uint32_t codePoint, unit16* out) {
    if (codePoint < 0x10000) {
        out[0] = static_cast<unit16>(codePoint);
        return 1;
    }
    codePoint -= 0x10000;
    out[0] = static_cast<unit16>(0xD800 + (codePoint >> 10));
    out[1] = static_cast<unit16>(0xDC00 + (codePoint & 0x3FF));
    return 2;
}
// Appends a code point to a string16, as a surrogate pair when it lies beyond U+FFFF.
void AppendCodePoint(string16& text, uint32_t codePoint);

inline bool IsHighSurrogate(uint32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
inline bool IsLowSurrogate(uint32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}
