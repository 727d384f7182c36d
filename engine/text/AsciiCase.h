#pragma once

#include <cstddef>
#include <cstdint>

// ASCII-only case folding for charset names and markup keywords, which are ASCII by definition;
// the locale never takes part.
inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when both 0-terminated texts are equal ignoring ASCII case.
inline bool EqualsIgnoreAsciiCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (AsciiLower(*a) != AsciiLower(*b)) return false;
        if (*a == 0) return true;
    }
}

// Position of the first occurrence of `needle` in bytes [from, to) ignoring ASCII case, or -1.
inline int64_t FindIgnoreAsciiCase(const char* text, int64_t from, int64_t to, const char* needle) {
    size_t needleLength = 0;
    while (needle[needleLength])
        ++needleLength;
    for (int64_t i = from; i + static_cast<int64_t>(needleLength) <= to; ++i) {
        size_t k = 0;
        while (k < needleLength &&
               AsciiLower(text[i + static_cast<int64_t>(k)]) == AsciiLower(needle[k]))
            ++k;
        if (k == needleLength) return i;
    }
    return -1;
}
