#pragma once

#include <cstddef>
#include <cstdint>

// The text import's one door to the system's character-set conversion (iconv): decodes short byte
// sequences of a named charset into Unicode code points. Used to build the lookup tables of the
// double-byte charsets once; never on the decoding path itself.
class KsIconvDecoder {
public:
    explicit KsIconvDecoder(const char* charset);
    ~KsIconvDecoder();
    KsIconvDecoder(const KsIconvDecoder&) = delete;
    KsIconvDecoder& operator=(const KsIconvDecoder&) = delete;

    bool IsOpen() const;
    // Decodes `length` bytes that should form exactly one character. Returns the number of code
    // points written to `out` (a JIS X 0213 character may give a base and a combining mark), or 0
    // when the bytes are not one complete, valid character.
    int DecodeOne(const uint8_t* bytes, size_t length, uint32_t* out, int maxOut);

private:
    void* handle_;  // iconv_t; kept opaque so that <iconv.h> stays in the implementation
};
