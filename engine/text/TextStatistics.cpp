#include "engine/text/TextStatistics.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

constexpr uint8_t kSpace = 0x20;

bool IsCountedByte(uint8_t b) {
    return b >= 0x80 || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '\'';
}

void Saturating(uint32_t& counter) {
    if (counter != UINT32_MAX) ++counter;
}

uint16_t Frequency(uint64_t count, uint64_t total) {
    return total ? static_cast<uint16_t>(count * kFrequencyOne / total) : 0;
}

// Pair counters, one row of 256 allocated per first byte seen.
class PairTable {
public:
    void Count(uint8_t first, uint8_t second) {
        if (!rows_[first]) rows_[first] = std::make_unique<std::array<uint32_t, 256>>();
        Saturating((*rows_[first])[second]);
        ++total_;
    }
    uint64_t Total() const { return total_; }

    struct Entry {
        uint16_t key;
        uint32_t count;
    };
    std::vector<Entry> Entries() const {
        std::vector<Entry> entries;
        for (int first = 0; first < 256; ++first) {
            if (!rows_[first]) continue;
            for (int second = 0; second < 256; ++second) {
                uint32_t count = (*rows_[first])[second];
                if (count) entries.push_back({static_cast<uint16_t>(first << 8 | second), count});
            }
        }
        return entries;
    }

private:
    std::array<std::unique_ptr<std::array<uint32_t, 256>>, 256> rows_;
    uint64_t total_ = 0;
};

}  // namespace

void MeasureTextStatistics(const uint8_t* bytes, size_t length, SampleMarkup markup,
                           TextStatistics& statistics) {
    const bool skipMarkup = markup == SampleMarkup::Skip;

    std::array<uint64_t, 256> byteCounts{};
    uint64_t counted = 0;
    bool inMarkup = false;
    for (size_t i = 0; i < length; ++i) {
        uint8_t b = bytes[i];
        if (skipMarkup) {
            if (inMarkup) {
                if (b == '>') inMarkup = false;
                continue;
            }
            if (b == '<') {
                inMarkup = true;
                continue;
            }
        }
        if (IsCountedByte(b)) {
            ++byteCounts[b];
            ++counted;
        }
    }
    for (int b = 0; b < 256; ++b)
        statistics.byteFrequency[b] = Frequency(byteCounts[b], counted);

    PairTable pairs;
    uint8_t previous = kSpace;
    inMarkup = skipMarkup && length > 0 && bytes[0] == '<';
    for (size_t i = 1; i < length; ++i) {
        uint8_t b = bytes[i];
        uint8_t current;
        if (skipMarkup && inMarkup) {
            if (b != '>') continue;
            inMarkup = false;
            current = kSpace;  // the end of a tag separates words
        } else if (skipMarkup && b == '<') {
            inMarkup = true;
            continue;
        } else {
            current = IsCountedByte(b) ? b : kSpace;
        }
        if (previous != kSpace || current != kSpace) pairs.Count(previous, current);
        previous = current;
    }

    std::vector<PairTable::Entry> entries = pairs.Entries();
    size_t kept = std::min<size_t>(entries.size(), kMaxStatPairs);
    std::partial_sort(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(kept),
                      entries.end(), [](const PairTable::Entry& a, const PairTable::Entry& b) {
                          return a.count != b.count ? a.count > b.count : a.key < b.key;
                      });
    entries.resize(kept);
    std::sort(entries.begin(), entries.end(),
              [](const PairTable::Entry& a, const PairTable::Entry& b) { return a.key < b.key; });
    statistics.pairCount = static_cast<uint16_t>(kept);
    for (size_t i = 0; i < kMaxStatPairs; ++i) {
        statistics.pairs[i] = i < kept ? (static_cast<uint32_t>(entries[i].key) << 16) |
                                             Frequency(entries[i].count, pairs.Total())
                                       : 0;
    }
}
