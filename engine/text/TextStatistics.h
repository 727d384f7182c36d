#pragma once

#include <cstddef>
#include <cstdint>

// What the code page detector measures on a text, and what a language profile stores: letter and
// letter-pair frequencies in fixed point, where kFrequencyOne (0x7000) stands for 1.
//
// Byte frequencies count only bytes >= 0x80, ASCII letters and the apostrophe. Pairs map every
// byte to itself when it would be counted and to a space otherwise, and count every pair but
// (space, space), starting at the second byte with a space before it; the 256 most frequent pairs
// (equal counts: the lower pair first) are kept, sorted by their two bytes.
constexpr uint32_t kFrequencyOne = 0x7000;
constexpr int kMaxStatPairs = 256;

// A pair entry packed as 0xAABBFFFF: first byte AA, second byte BB, frequency FFFF.
constexpr uint16_t PairKey(uint32_t packed) {
    return static_cast<uint16_t>(packed >> 16);
}
constexpr uint16_t PairFrequency(uint32_t packed) {
    return static_cast<uint16_t>(packed & 0xFFFF);
}
constexpr bool PairHasHighByte(uint32_t packed) {
    return (packed & 0x80800000u) != 0;
}

struct TextStatistics {
    uint16_t byteFrequency[256];
    uint16_t pairCount;
    uint32_t pairs[kMaxStatPairs];  // packed, ascending
};

// Whether bytes between '<' and the next '>' are left out (markup of HTML and XML samples).
enum class SampleMarkup { Count, Skip };

// Measures `bytes` as described above.
void MeasureTextStatistics(const uint8_t* bytes, size_t length, SampleMarkup markup,
                           TextStatistics& statistics);
