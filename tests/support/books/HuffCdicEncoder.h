#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes MOBI HUFF/CDIC compression for test books: a dictionary of every byte of the text plus
// its frequent words, canonical Huffman codes for them (long codes use the second table), and
// optionally one word stored compressed with the code itself.
class HuffCdicEncoder {
public:
    struct Options {
        int maxWords = 24;            // frequent words added as phrases
        bool compressOneWord = true;  // store the longest word compressed
        uint32_t cdicBits = 5;        // 2^bits phrases per CDIC record
    };

    // Builds the dictionary and the code from the whole text of the book.
    HuffCdicEncoder(const std::string& text, const Options& options);
    explicit HuffCdicEncoder(const std::string& text) : HuffCdicEncoder(text, Options{}) {}

    // One text record (its bytes must be bytes of the text given above).
    std::string EncodeRecord(const std::string& text) const;
    // The HUFF record followed by the CDIC records.
    std::vector<std::string> TableRecords() const;
    size_t PhraseCount() const { return phrases_.size(); }

private:
    struct Phrase {
        std::string text;
        uint32_t code = 0;
        unsigned length = 0;  // code length in bits
        bool storedCompressed = false;
    };
    // Phrase indexes of the greedy longest-match split of `text`.
    std::vector<size_t> Tokenize(const std::string& text, bool singleBytesOnly) const;
    std::string EncodeTokens(const std::vector<size_t>& tokens) const;

    std::vector<Phrase> phrases_;  // in dictionary order
    int singleByteIndex_[256];
    uint32_t table1_[256] = {};
    uint32_t table2_[32][2] = {};
    uint32_t cdicBits_;
};
