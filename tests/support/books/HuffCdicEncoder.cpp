#include "tests/support/books/HuffCdicEncoder.h"

#include <algorithm>
#include <map>
#include <queue>
#include <stdexcept>

namespace {

void PutU32(std::string& out, uint32_t v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}
void PutU16(std::string& out, uint32_t v) {
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

// Huffman code lengths for the given weights (all > 0).
std::vector<unsigned> HuffmanLengths(const std::vector<uint64_t>& weights) {
    struct Node {
        uint64_t weight;
        int left, right;
    };
    std::vector<Node> nodes;
    using Item = std::pair<uint64_t, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    for (size_t i = 0; i < weights.size(); ++i) {
        nodes.push_back({weights[i], -1, -1});
        queue.push({weights[i], static_cast<int>(i)});
    }
    while (queue.size() > 1) {
        Item a = queue.top();
        queue.pop();
        Item b = queue.top();
        queue.pop();
        nodes.push_back({a.first + b.first, a.second, b.second});
        queue.push({a.first + b.first, static_cast<int>(nodes.size() - 1)});
    }
    std::vector<unsigned> lengths(weights.size(), 0);
    std::vector<std::pair<int, unsigned>> stack{{queue.top().second, 0}};
    while (!stack.empty()) {
        auto [node, depth] = stack.back();
        stack.pop_back();
        if (nodes[node].left < 0) {
            lengths[static_cast<size_t>(node)] = depth;
        } else {
            stack.push_back({nodes[node].left, depth + 1});
            stack.push_back({nodes[node].right, depth + 1});
        }
    }
    return lengths;
}

}  // namespace

HuffCdicEncoder::HuffCdicEncoder(const std::string& text, const Options& options)
    : cdicBits_(options.cdicBits) {
    std::fill(std::begin(singleByteIndex_), std::end(singleByteIndex_), -1);
    for (unsigned char c : text) {
        if (singleByteIndex_[c] >= 0) continue;
        singleByteIndex_[c] = static_cast<int>(phrases_.size());
        phrases_.push_back({std::string(1, static_cast<char>(c))});
    }
    if (phrases_.size() < 2) {
        // A code needs two symbols at least.
        for (unsigned char c : std::string("ab"))
            if (singleByteIndex_[c] < 0) {
                singleByteIndex_[c] = static_cast<int>(phrases_.size());
                phrases_.push_back({std::string(1, static_cast<char>(c))});
            }
    }
    // Frequent words of three letters or more, with the space before them.
    std::map<std::string, int> counts;
    for (size_t i = 0; i < text.size();) {
        size_t end = text.find(' ', i + 1);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(i, end - i);
        if (word.size() >= 4 && word.find('\n') == std::string::npos) ++counts[word];
        i = end;
    }
    std::vector<std::pair<int, std::string>> frequent;
    for (const auto& [word, count] : counts)
        if (count >= 2) frequent.push_back({count * static_cast<int>(word.size()), word});
    std::sort(frequent.rbegin(), frequent.rend());
    for (int k = 0; k < options.maxWords && k < static_cast<int>(frequent.size()); ++k)
        phrases_.push_back({frequent[static_cast<size_t>(k)].second});

    // Weights from the split of the text itself.
    std::vector<uint64_t> weights(phrases_.size(), 1);
    for (size_t index : Tokenize(text, false))
        ++weights[index];
    std::vector<unsigned> lengths = HuffmanLengths(weights);
    unsigned longest = *std::max_element(lengths.begin(), lengths.end());
    // Zero bits pad the last byte of a record; with every code at least 8 bits long they can
    // never complete one.
    if (longest < 8 || longest > 32) {
        if (phrases_.size() > 256) throw std::runtime_error("too many phrases for 8-bit codes");
        std::fill(lengths.begin(), lengths.end(), 8u);
        longest = 8;
    }

    // Canonical codes with the shortest codes numerically largest (as the decoder's tables
    // expect): longest codes start at 0; each shorter length starts above all longer codes.
    // Phrases are renumbered so that each length's phrases are consecutive in the dictionary.
    std::vector<size_t> order(phrases_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return lengths[a] < lengths[b]; });
    std::vector<Phrase> sorted;
    std::vector<unsigned> sortedLengths;
    for (size_t i : order) {
        sorted.push_back(phrases_[i]);
        sortedLengths.push_back(lengths[i]);
    }
    phrases_ = sorted;
    std::fill(std::begin(singleByteIndex_), std::end(singleByteIndex_), -1);
    for (size_t i = 0; i < phrases_.size(); ++i)
        if (phrases_[i].text.size() == 1)
            singleByteIndex_[static_cast<unsigned char>(phrases_[i].text[0])] = static_cast<int>(i);

    uint64_t start[34] = {}, count[34] = {}, base[34] = {};
    for (unsigned length : sortedLengths)
        ++count[length];
    uint64_t next = 0;
    for (unsigned k = longest; k >= 1; --k) {
        start[k] = (k == longest) ? 0 : (next + 1) / 2;
        next = start[k] + count[k];
    }
    for (unsigned k = 1, at = 0; k <= 32; ++k) {
        base[k] = at;
        at += static_cast<unsigned>(count[k]);
    }
    // Phrase base[k] + j gets the code start[k] + count[k] - 1 - j: index = M - code.
    for (size_t i = 0; i < phrases_.size(); ++i) {
        unsigned k = sortedLengths[i];
        uint64_t j = i - base[k];
        phrases_[i].length = k;
        phrases_[i].code = static_cast<uint32_t>(start[k] + count[k] - 1 - j);
    }
    for (unsigned k = 1; k <= 32; ++k) {
        uint64_t maxIndex = base[k] + start[k] + count[k] - 1;  // M, may wrap for empty lengths
        table2_[k - 1][0] = static_cast<uint32_t>(start[k]);
        table2_[k - 1][1] = static_cast<uint32_t>(maxIndex);
    }
    for (unsigned b = 0; b < 256; ++b) {
        table1_[b] = 9;  // not terminal: all codes under this prefix are longer than 8 bits
        for (unsigned k = 1; k <= 8 && k <= longest; ++k) {
            uint64_t prefix = b >> (8 - k);
            if (count[k] && prefix >= start[k] && prefix < start[k] + count[k]) {
                table1_[b] = (table2_[k - 1][1] << 8) | 0x80u | k;
                break;
            }
        }
    }

    if (options.compressOneWord) {
        size_t longestWord = 0;
        for (size_t i = 1; i < phrases_.size(); ++i)
            if (phrases_[i].text.size() > phrases_[longestWord].text.size()) longestWord = i;
        if (phrases_[longestWord].text.size() > 1) phrases_[longestWord].storedCompressed = true;
    }
}

std::vector<size_t> HuffCdicEncoder::Tokenize(const std::string& text, bool singleBytesOnly) const {
    std::vector<size_t> tokens;
    for (size_t i = 0; i < text.size();) {
        size_t best = static_cast<size_t>(singleByteIndex_[static_cast<unsigned char>(text[i])]);
        size_t bestLength = 1;
        if (!singleBytesOnly) {
            for (size_t p = 0; p < phrases_.size(); ++p) {
                const std::string& phrase = phrases_[p].text;
                if (phrase.size() > bestLength && text.compare(i, phrase.size(), phrase) == 0) {
                    best = p;
                    bestLength = phrase.size();
                }
            }
        }
        if (best == static_cast<size_t>(-1)) throw std::runtime_error("byte not in dictionary");
        tokens.push_back(best);
        i += bestLength;
    }
    return tokens;
}

std::string HuffCdicEncoder::EncodeTokens(const std::vector<size_t>& tokens) const {
    std::string out;
    uint64_t bits = 0;
    unsigned pending = 0;
    for (size_t index : tokens) {
        const Phrase& phrase = phrases_[index];
        bits = (bits << phrase.length) | phrase.code;
        pending += phrase.length;
        while (pending >= 8) {
            out += static_cast<char>(bits >> (pending - 8));
            pending -= 8;
        }
        bits &= (uint64_t{1} << pending) - 1;
    }
    if (pending) out += static_cast<char>(bits << (8 - pending));
    return out;
}

std::string HuffCdicEncoder::EncodeRecord(const std::string& text) const {
    return EncodeTokens(Tokenize(text, false));
}

std::vector<std::string> HuffCdicEncoder::TableRecords() const {
    std::vector<std::string> records;
    std::string huff = "HUFF";
    PutU32(huff, 24);
    PutU32(huff, 24);
    PutU32(huff, 24 + 256 * 4);
    PutU32(huff, 0);
    PutU32(huff, 0);
    for (uint32_t v : table1_)
        PutU32(huff, v);
    for (const auto& pair : table2_) {
        PutU32(huff, pair[0]);
        PutU32(huff, pair[1]);
    }
    records.push_back(huff);

    const size_t perRecord = size_t{1} << cdicBits_;
    for (size_t first = 0; first < phrases_.size(); first += perRecord) {
        size_t n = std::min(perRecord, phrases_.size() - first);
        std::string offsets, bodies;
        for (size_t j = 0; j < n; ++j) {
            const Phrase& phrase = phrases_[first + j];
            std::string bytes =
                phrase.storedCompressed ? EncodeTokens(Tokenize(phrase.text, true)) : phrase.text;
            PutU16(offsets, static_cast<uint32_t>(2 * n + bodies.size()));
            PutU16(bodies,
                   static_cast<uint32_t>(bytes.size()) | (phrase.storedCompressed ? 0u : 0x8000u));
            bodies += bytes;
        }
        std::string cdic = "CDIC";
        PutU32(cdic, 16);
        PutU32(cdic, static_cast<uint32_t>(phrases_.size()));
        PutU32(cdic, cdicBits_);
        records.push_back(cdic + offsets + bodies);
    }
    return records;
}
