#include "engine/books/PdbContentDetector.h"

#include <cstring>

namespace {

// True when the text at `p` starts with the lower-case ASCII `prefix`, ignoring case.
bool StartsWithNoCase(const uint8_t* p, const uint8_t* end, const char* prefix) {
    for (; *prefix; ++p, ++prefix) {
        if (p >= end) return false;
        uint8_t c = *p;
        if (c >= 'A' && c <= 'Z') c = static_cast<uint8_t>(c + ('a' - 'A'));
        if (c != static_cast<uint8_t>(*prefix)) return false;
    }
    return true;
}

bool StartsWithAny(const uint8_t* p, const uint8_t* end, const char* const* prefixes) {
    for (; *prefixes; ++prefixes)
        if (StartsWithNoCase(p, end, *prefixes)) return true;
    return false;
}

}  // namespace

PdbContentKind DetectPdbContent(const uint8_t* data, size_t size) {
    if (size == 0) return PDB_CONTENT_NONE;
    if (size <= 10) return PDB_CONTENT_TEXT;
    static const char kPmlTags[] = "pXxCcriuovtnsblaUBSmqQI";
    static const char* const kHeadings[] = {"h1", "h2", "h3", "h4", nullptr};
    static const char* const kBlocks[] = {"p>", "b>", "i>", "li>", "ul>", nullptr};
    const uint8_t* end = data + size;
    int pmlScore = 0;
    int htmlScore = 0;
    for (size_t i = 0; i + 10 < size; ++i) {
        if (data[i] == '\\') {
            if (data[i + 1] != 0 && std::strchr(kPmlTags, data[i + 1])) ++pmlScore;
        } else if (data[i] == '<') {
            const uint8_t* tag = data + i + 1;
            if (StartsWithNoCase(tag, end, "html")) htmlScore += 100;
            if (StartsWithNoCase(tag, end, "head")) htmlScore += 50;
            if (StartsWithNoCase(tag, end, "body")) htmlScore += 50;
            if (StartsWithAny(tag, end, kHeadings)) htmlScore += 5;
            if (StartsWithAny(tag, end, kBlocks)) htmlScore += 10;
        }
    }
    if (pmlScore < 5 && htmlScore < 10) return PDB_CONTENT_TEXT;
    return pmlScore <= htmlScore ? PDB_CONTENT_HTML : PDB_CONTENT_PML;
}
