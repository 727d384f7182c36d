#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The LZW decompressor of GIF image data: variable-length codes of up to 12 bits, packed least
// significant bit first, with a clear code (2^minimum code size) and an end code (clear + 1).
// When the code table is full the decoder goes on with the full table until the next clear code
// (a "deferred clear", as many encoders write).
class GifLzwDecoder {
public:
    enum class Result {
        Finished,   // the end code, or the output is full
        DataEnded,  // the data ran out first
        Corrupt,    // a code that is not in the table
    };

    static constexpr int kMinCodeSize = 2;
    static constexpr int kMaxMinCodeSize = 11;

    // False for a minimum code size outside 2 ... 11.
    [[nodiscard]] bool Init(int minCodeSize);

    // Decodes data into out (at most capacity symbols); produced tells how many were written.
    Result Decode(const uint8_t* data, size_t size, uint16_t* out, size_t capacity,
                  size_t* produced);

private:
    static constexpr int kMaxCodeBits = 12;
    static constexpr int kTableSize = 1 << kMaxCodeBits;

    void Reset();

    int minCodeSize_ = 0;
    int clearCode_ = 0;
    int endCode_ = 0;
    int nextCode_ = 0;
    int codeSize_ = 0;
    // Entry c is the string of entry prefix_[c] followed by suffix_[c]; first_ and length_
    // spare walking the chain.
    std::vector<uint16_t> prefix_;
    std::vector<uint16_t> suffix_;
    std::vector<uint16_t> first_;
    std::vector<uint16_t> length_;
};
