#include "tests/support/TcrEncoder.h"

#include <array>
#include <map>
#include <utility>

namespace {
const std::string kSignature = "!!8-Bit!!";
}  // namespace

std::string TcrFile(const std::vector<std::string>& entries, const std::string& codes) {
    std::string out = kSignature;
    for (const std::string& entry : entries) {
        out.push_back(static_cast<char>(entry.size()));
        out += entry;
    }
    return out + codes;
}

std::string TcrEncode(const std::string& text, TcrDictionary dictionary) {
    std::vector<std::string> entries;
    std::vector<int> codes;
    if (dictionary == TcrDictionary::SingleBytes) {
        for (int b = 0; b < 256; ++b)
            entries.push_back(std::string(1, static_cast<char>(b)));
        for (unsigned char c : text)
            codes.push_back(c);
    } else {
        std::array<int, 256> codeOfByte;
        codeOfByte.fill(-1);
        for (unsigned char c : text) {
            if (codeOfByte[c] < 0) {
                codeOfByte[c] = static_cast<int>(entries.size());
                entries.push_back(std::string(1, static_cast<char>(c)));
            }
            codes.push_back(codeOfByte[c]);
        }
        // Byte-pair merging: the most frequent adjacent pair of codes becomes a new code.
        while (entries.size() < 256 && codes.size() > 1) {
            std::map<std::pair<int, int>, int> counts;
            for (size_t i = 0; i + 1 < codes.size(); ++i)
                if (entries[codes[i]].size() + entries[codes[i + 1]].size() <= 255)
                    ++counts[{codes[i], codes[i + 1]}];
            std::pair<int, int> best{-1, -1};
            int bestCount = 1;
            for (const auto& [pair, count] : counts)
                if (count > bestCount) {
                    best = pair;
                    bestCount = count;
                }
            if (best.first < 0) break;
            const int merged = static_cast<int>(entries.size());
            entries.push_back(entries[best.first] + entries[best.second]);
            std::vector<int> next;
            for (size_t i = 0; i < codes.size(); ++i) {
                if (i + 1 < codes.size() && codes[i] == best.first && codes[i + 1] == best.second) {
                    next.push_back(merged);
                    ++i;
                } else {
                    next.push_back(codes[i]);
                }
            }
            codes = std::move(next);
        }
        // Unused codes may not be empty (only code 0 may): give them a string nobody uses.
        if (entries.empty()) entries.push_back("");
        while (entries.size() < 256)
            entries.push_back(entries.back().empty() ? "?" : "~");
    }
    std::string packed;
    for (int code : codes)
        packed.push_back(static_cast<char>(code));
    return TcrFile(entries, packed);
}

std::string TcrDecodeSimple(const std::string& file, bool* ok) {
    if (ok) *ok = false;
    if (file.compare(0, kSignature.size(), kSignature) != 0) return "";
    size_t at = kSignature.size();
    std::vector<std::string> entries;
    for (int code = 0; code < 256; ++code) {
        if (at >= file.size()) return "";
        const size_t length = static_cast<unsigned char>(file[at++]);
        if (file.size() - at < length) return "";
        entries.push_back(file.substr(at, length));
        at += length;
    }
    std::string text;
    for (; at < file.size(); ++at)
        text += entries[static_cast<unsigned char>(file[at])];
    if (ok) *ok = true;
    return text;
}
