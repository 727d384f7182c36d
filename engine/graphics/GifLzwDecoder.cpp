#include "engine/graphics/GifLzwDecoder.h"

bool GifLzwDecoder::Init(int minCodeSize) {
    if (minCodeSize < kMinCodeSize || minCodeSize > kMaxMinCodeSize) return false;
    minCodeSize_ = minCodeSize;
    clearCode_ = 1 << minCodeSize;
    endCode_ = clearCode_ + 1;
    prefix_.assign(kTableSize, 0);
    suffix_.assign(kTableSize, 0);
    first_.assign(kTableSize, 0);
    length_.assign(kTableSize, 0);
    for (int code = 0; code < clearCode_; ++code) {
        suffix_[code] = static_cast<uint16_t>(code);
        first_[code] = static_cast<uint16_t>(code);
        length_[code] = 1;
    }
    Reset();
    return true;
}

void GifLzwDecoder::Reset() {
    nextCode_ = clearCode_ + 2;
    codeSize_ = minCodeSize_ + 1;
}

GifLzwDecoder::Result GifLzwDecoder::Decode(const uint8_t* data, size_t size, uint16_t* out,
                                            size_t capacity, size_t* produced) {
    size_t written = 0;
    size_t byteIndex = 0;
    uint32_t bits = 0;
    int bitCount = 0;
    int previous = -1;  // no previous code right after a clear
    Result result = Result::DataEnded;
    while (written < capacity) {
        while (bitCount < codeSize_ && byteIndex < size) {
            bits |= uint32_t{data[byteIndex++]} << bitCount;
            bitCount += 8;
        }
        if (bitCount < codeSize_) break;
        const int code = static_cast<int>(bits & ((1u << codeSize_) - 1));
        bits >>= codeSize_;
        bitCount -= codeSize_;

        if (code == clearCode_) {
            Reset();
            previous = -1;
            continue;
        }
        if (code == endCode_) {
            result = Result::Finished;
            break;
        }
        if (previous < 0) {
            if (code >= clearCode_) {
                result = Result::Corrupt;
                break;
            }
        } else {
            if (code > nextCode_ || (code == nextCode_ && nextCode_ >= kTableSize)) {
                result = Result::Corrupt;
                break;
            }
            // A new entry: the previous string and the first symbol of this one (for the code
            // being defined right now, that is the previous string's own first symbol).
            if (nextCode_ < kTableSize) {
                const uint16_t firstSymbol = code == nextCode_ ? first_[previous] : first_[code];
                prefix_[nextCode_] = static_cast<uint16_t>(previous);
                suffix_[nextCode_] = firstSymbol;
                first_[nextCode_] = first_[previous];
                length_[nextCode_] = static_cast<uint16_t>(length_[previous] + 1);
                ++nextCode_;
                if (nextCode_ == (1 << codeSize_) && codeSize_ < kMaxCodeBits) ++codeSize_;
            }
        }
        // The string is written back to front along its prefix chain, cut at the capacity.
        const size_t length = length_[code];
        int entry = code;
        for (size_t i = length; i-- > 0;) {
            if (written + i < capacity) out[written + i] = suffix_[entry];
            entry = prefix_[entry];
        }
        written = written + length < capacity ? written + length : capacity;
        previous = code;
    }
    if (written >= capacity && result == Result::DataEnded) result = Result::Finished;
    *produced = written;
    return result;
}
