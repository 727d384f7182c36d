#include "engine/books/HuffCdicDecoder.h"

#include <cstring>

#include "engine/core/Limits.h"

namespace {

uint32_t U32At(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}
uint16_t U16At(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

// The 32 bits of `data` starting at bit `bit`, most significant first, zero past the end.
uint32_t Peek32(const uint8_t* data, size_t size, uint64_t bit) {
    size_t byte = static_cast<size_t>(bit >> 3);
    uint64_t window = 0;
    for (size_t k = 0; k < 5; ++k)
        window = (window << 8) | (byte + k < size ? data[byte + k] : 0);
    return static_cast<uint32_t>(window >> (8 - (bit & 7)));
}

constexpr size_t kHuffHeaderBytes = 24;
constexpr size_t kCdicHeaderBytes = 16;

}  // namespace

bool HuffCdicDecoder::Load(const std::vector<uint8_t>& huffRecord,
                           const std::vector<std::vector<uint8_t>>& cdicRecords) {
    loaded_ = false;
    phrases_.clear();
    phraseBytes_.clear();
    decoded_.clear();

    const uint8_t* huff = huffRecord.data();
    size_t huffSize = huffRecord.size();
    if (huffSize < kHuffHeaderBytes || std::memcmp(huff, "HUFF", 4) != 0) return false;
    uint32_t table1At = U32At(huff + 8);
    uint32_t table2At = U32At(huff + 12);
    if (table1At > huffSize || huffSize - table1At < 256 * 4) return false;
    if (table2At > huffSize || huffSize - table2At < 32 * 8) return false;
    for (int i = 0; i < 256; ++i) {
        table1_[i] = U32At(huff + table1At + 4 * i);
        if ((table1_[i] & 0x1F) == 0) return false;  // code lengths are 1 ... 32
    }
    for (unsigned length = 1; length <= 32; ++length) {
        const uint8_t* pair = huff + table2At + 8 * (length - 1);
        unsigned shift = 32 - length;
        table2_[length].minCode = static_cast<uint64_t>(U32At(pair)) << shift;
        table2_[length].maxCode = ((static_cast<uint64_t>(U32At(pair + 4)) + 1) << shift) - 1;
    }

    uint64_t totalPhrases = 0;
    for (const std::vector<uint8_t>& cdic : cdicRecords) {
        const uint8_t* rec = cdic.data();
        size_t size = cdic.size();
        if (size < kCdicHeaderBytes || std::memcmp(rec, "CDIC", 4) != 0) return false;
        if (U32At(rec + 4) != kCdicHeaderBytes) return false;
        totalPhrases = U32At(rec + 8);
        uint32_t bits = U32At(rec + 12);
        if (phrases_.size() >= totalPhrases) break;
        uint64_t count = totalPhrases - phrases_.size();
        if (bits < 32 && (uint64_t{1} << bits) < count) count = uint64_t{1} << bits;
        // Every phrase needs its 2-byte offset inside the record.
        if (count > (size - kCdicHeaderBytes) / 2) return false;
        uint32_t base = static_cast<uint32_t>(phraseBytes_.size());
        phraseBytes_.insert(phraseBytes_.end(), rec, rec + size);
        for (uint64_t j = 0; j < count; ++j) {
            size_t at = kCdicHeaderBytes + U16At(rec + kCdicHeaderBytes + 2 * j);
            if (at > size || size - at < 2) return false;
            uint16_t word = U16At(rec + at);
            uint32_t length = word & 0x7FFFu;
            if (length > size - at - 2) return false;
            phrases_.push_back({base + static_cast<uint32_t>(at + 2), length,
                                (word & 0x8000u) ? PhraseState::Ready : PhraseState::Compressed,
                                false});
        }
    }
    if (phrases_.empty()) return false;
    loaded_ = true;
    return true;
}

bool HuffCdicDecoder::Decode(const uint8_t* data, size_t size, std::vector<uint8_t>& out,
                             size_t limit) {
    out.clear();
    if (!loaded_) return false;
    return DecodeInto(data, size, out, limit, 0);
}

bool HuffCdicDecoder::PreparePhrase(Phrase& phrase, uint32_t depth) {
    if (phrase.state != PhraseState::Compressed) return false;  // refers to itself, or broken
    if (depth >= kMaxHuffPhraseDepth) {
        phrase.state = PhraseState::Broken;
        return false;
    }
    phrase.state = PhraseState::Decoding;
    std::vector<uint8_t> text;
    bool ok = DecodeInto(phraseBytes_.data() + phrase.start, phrase.length, text,
                         kMaxPdbRecordTextBytes, depth + 1);
    if (!ok || decoded_.size() + text.size() > kMaxHuffDecodedPhraseBytes) {
        phrase.state = PhraseState::Broken;
        return false;
    }
    phrase.start = static_cast<uint32_t>(decoded_.size());
    phrase.length = static_cast<uint32_t>(text.size());
    phrase.decoded = true;
    phrase.state = PhraseState::Ready;
    decoded_.insert(decoded_.end(), text.begin(), text.end());
    return true;
}

bool HuffCdicDecoder::DecodeInto(const uint8_t* data, size_t size, std::vector<uint8_t>& out,
                                 size_t limit, uint32_t depth) {
    const uint64_t totalBits = static_cast<uint64_t>(size) * 8;
    uint64_t bit = 0;
    for (;;) {
        uint32_t code = Peek32(data, size, bit);
        uint32_t entry = table1_[code >> 24];
        unsigned length = entry & 0x1F;
        uint64_t maxCode = ((static_cast<uint64_t>(entry >> 8) + 1) << (32 - length)) - 1;
        if (!(entry & 0x80)) {
            while (code < table2_[length].minCode) {
                if (++length > 32) return false;
            }
            maxCode = table2_[length].maxCode;
        }
        // The zero bits that pad the last byte are never decoded.
        if (bit + length > totalBits) return true;
        if (maxCode < code) return false;
        uint64_t index = (maxCode - code) >> (32 - length);
        if (index >= phrases_.size()) return false;
        Phrase& phrase = phrases_[static_cast<size_t>(index)];
        if (phrase.state != PhraseState::Ready && !PreparePhrase(phrase, depth)) return false;
        if (out.size() + phrase.length > limit) return false;
        const std::vector<uint8_t>& store = phrase.decoded ? decoded_ : phraseBytes_;
        out.insert(out.end(), store.begin() + phrase.start,
                   store.begin() + phrase.start + phrase.length);
        bit += length;
    }
}
