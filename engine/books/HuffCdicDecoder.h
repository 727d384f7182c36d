#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The HUFF/CDIC compression of MOBI books (compression code 17480): a Huffman code over a
// dictionary of phrases. The HUFF record holds the code tables, the CDIC records that follow it
// hold the phrases; a phrase may itself be compressed with the same code. Layouts (big-endian):
//   HUFF: "HUFF", header length (24), offset of table 1 (256 u32), offset of table 2 (32 pairs
//         of u32).
//   CDIC: "CDIC", header length (16), total phrase count P, B; then min(2^B, P - phrases so far)
//         u16 offsets (from byte 16) of phrases: a u16 whose top bit marks a phrase that is
//         stored as it is and whose low 15 bits are its byte length, then the bytes.
class HuffCdicDecoder {
public:
    // Reads the tables and the phrases; false when a record is malformed.
    [[nodiscard]] bool Load(const std::vector<uint8_t>& huffRecord,
                            const std::vector<std::vector<uint8_t>>& cdicRecords);
    bool IsLoaded() const { return loaded_; }
    size_t PhraseCount() const { return phrases_.size(); }

    // Decodes one text record (its trailing entries removed) into `out`, replacing its contents.
    // False when the data refers to phrases that do not exist, phrases nest too deeply or refer
    // to themselves, or the output would exceed `limit` bytes.
    [[nodiscard]] bool Decode(const uint8_t* data, size_t size, std::vector<uint8_t>& out,
                              size_t limit);

private:
    // A compressed phrase that failed once is Broken for good: retrying it at every reference
    // would cost exponential time for nested phrases.
    enum class PhraseState : uint8_t { Ready, Compressed, Decoding, Broken };
    struct Phrase {
        uint32_t start;  // in phraseBytes_ (Ready from the dictionary) or decoded_ (decoded)
        uint32_t length;
        PhraseState state;
        bool decoded;  // start/length refer to decoded_
    };
    struct CodeRange {
        uint64_t minCode;  // left-aligned to 32 bits
        uint64_t maxCode;
    };

    bool DecodeInto(const uint8_t* data, size_t size, std::vector<uint8_t>& out, size_t limit,
                    uint32_t depth);
    // Makes a compressed phrase ready; false when it cannot be decoded.
    bool PreparePhrase(Phrase& phrase, uint32_t depth);

    bool loaded_ = false;
    uint32_t table1_[256] = {};
    CodeRange table2_[33] = {};  // indexed by code length 1 ... 32
    std::vector<uint8_t> phraseBytes_;
    std::vector<uint8_t> decoded_;
    std::vector<Phrase> phrases_;
};
