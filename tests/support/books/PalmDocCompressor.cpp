#include "tests/support/books/PalmDocCompressor.h"

#include <vector>

namespace {

constexpr size_t kMaxDistance = 2047;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 10;

// A byte that can stand for itself in the output (0x01 ... 0x08 and 0x80 ... 0xFF are codes).
bool IsPlain(unsigned char c) {
    return c == 0 || (c >= 0x09 && c <= 0x7F);
}

}  // namespace

std::string CompressPalmDoc(const std::string& text) {
    std::string out;
    const size_t n = text.size();
    // Last position of each 3-byte hash, chained to earlier positions with the same hash.
    std::vector<long> head(4096, -1);
    std::vector<long> previous(n, -1);
    auto hash = [&](size_t i) {
        return ((static_cast<unsigned char>(text[i]) << 6) ^
                (static_cast<unsigned char>(text[i + 1]) << 3) ^
                static_cast<unsigned char>(text[i + 2])) &
               4095;
    };
    auto remember = [&](size_t i) {
        if (i + kMinMatch > n) return;
        size_t h = hash(i);
        previous[i] = head[h];
        head[h] = static_cast<long>(i);
    };

    size_t i = 0;
    while (i < n) {
        size_t bestLength = 0, bestDistance = 0;
        if (i + kMinMatch <= n) {
            int tries = 64;
            for (long j = head[hash(i)]; j >= 0 && tries-- > 0; j = previous[j]) {
                size_t distance = i - static_cast<size_t>(j);
                if (distance > kMaxDistance) break;
                size_t length = 0;
                while (length < kMaxMatch && i + length < n &&
                       text[static_cast<size_t>(j) + length] == text[i + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                }
            }
        }
        if (bestLength >= kMinMatch) {
            unsigned pair = 0x8000u | static_cast<unsigned>(bestDistance << 3) |
                            static_cast<unsigned>(bestLength - kMinMatch);
            out += static_cast<char>(pair >> 8);
            out += static_cast<char>(pair & 0xFF);
            for (size_t k = 0; k < bestLength; ++k)
                remember(i + k);
            i += bestLength;
            continue;
        }
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ' ' && i + 1 < n && static_cast<unsigned char>(text[i + 1]) >= 0x40 &&
            static_cast<unsigned char>(text[i + 1]) <= 0x7F) {
            out += static_cast<char>(0x80 | static_cast<unsigned char>(text[i + 1]));
            remember(i);
            remember(i + 1);
            i += 2;
            continue;
        }
        if (IsPlain(c)) {
            out += static_cast<char>(c);
            remember(i);
            ++i;
            continue;
        }
        // A literal run of up to 8 bytes that are not plain.
        size_t run = 1;
        while (run < 8 && i + run < n && !IsPlain(static_cast<unsigned char>(text[i + run])))
            ++run;
        out += static_cast<char>(run);
        out.append(text, i, run);
        for (size_t k = 0; k < run; ++k)
            remember(i + k);
        i += run;
    }
    return out;
}
