#include "tests/support/WordDiff.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace {

// Length in bytes of a UTF-8 space character at text[i], or 0.
size_t SpaceAt(const std::string& text, size_t i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == ' ' || b == '\t' || b == '\n' || b == '\r' || b == '\f' || b == '\v') return 1;
    if (b == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA0)
        return 2;
    if (b == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
        static_cast<unsigned char>(text[i + 2]) <= 0x8B)
        return 3;
    if (b == 0xE3 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
        static_cast<unsigned char>(text[i + 2]) == 0x80)
        return 3;
    if (b == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBB &&
        static_cast<unsigned char>(text[i + 2]) == 0xBF)
        return 3;
    return 0;
}

}  // namespace

std::vector<std::string> SplitWords(const std::string& utf8) {
    std::vector<std::string> words;
    std::string word;
    for (size_t i = 0; i < utf8.size();) {
        size_t space = SpaceAt(utf8, i);
        if (space) {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
            i += space;
        } else {
            word += utf8[i++];
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

double InOrderWordRatio(const std::vector<std::string>& expected,
                        const std::vector<std::string>& actual, long maxEdits) {
    if (expected.empty()) return 1.0;
    // Words become integers so that the diff compares numbers.
    std::unordered_map<std::string, int> ids;
    auto idsOf = [&ids](const std::vector<std::string>& words) {
        std::vector<int> out;
        out.reserve(words.size());
        for (const auto& w : words)
            out.push_back(ids.emplace(w, static_cast<int>(ids.size())).first->second);
        return out;
    };
    const std::vector<int> a = idsOf(expected), b = idsOf(actual);
    const long n = static_cast<long>(a.size()), m = static_cast<long>(b.size());
    // Enough edits to tell every ratio down to about 96 %: the surplus of `actual` plus 4 % of
    // `expected`.
    if (maxEdits < 0) maxEdits = std::max(64L, (m > n ? m - n : 0) + n / 25);
    // Myers' greedy O((N + M) D) shortest edit script; LCS = (N + M - D) / 2.
    const long limit = std::min(maxEdits, n + m);
    const long offset = limit + 1;
    std::vector<long> v(static_cast<size_t>(2 * limit + 3), 0);
    for (long d = 0; d <= limit; ++d) {
        for (long k = -d; k <= d; k += 2) {
            long x;
            if (k == -d || (k != d && v[static_cast<size_t>(offset + k - 1)] <
                                          v[static_cast<size_t>(offset + k + 1)]))
                x = v[static_cast<size_t>(offset + k + 1)];
            else
                x = v[static_cast<size_t>(offset + k - 1)] + 1;
            long y = x - k;
            while (x < n && y < m && a[static_cast<size_t>(x)] == b[static_cast<size_t>(y)])
                ++x, ++y;
            v[static_cast<size_t>(offset + k)] = x;
            if (x >= n && y >= m)
                return static_cast<double>((n + m - d) / 2) / static_cast<double>(n);
        }
    }
    // More edits than allowed: the common part is shorter than (N + M - limit) / 2 words.
    const long bound = std::max(0L, (n + m - limit) / 2);
    return std::min(1.0, static_cast<double>(bound) / static_cast<double>(n));
}
