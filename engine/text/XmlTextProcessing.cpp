#include "engine/text/XmlTextProcessing.h"

#include "engine/core/StringConvert.h"
#include "engine/text/HtmlEntities.h"
#include "engine/text/KsXMLParserCallback.h"

namespace {

constexpr int kMaxEntityName = 16;
// Longest numeric reference kept whole by SafeTextCut: "&#x10FFFF;" and a few leading zeros.
constexpr int kMaxEntityLookBack = 32;

bool IsAsciiLetter(unit16 c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue(unit16 c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decodes a numeric reference at text[r] == '&', text[r + 1] == '#'. Returns the index after the
// reference (after its ';' when there is one), or -1 when no digit follows.
int DecodeNumeric(const unit16* text, int length, int r, uint32_t& codePoint) {
    int i = r + 2;
    const bool hex = i < length && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    uint32_t value = 0;
    int digits = 0;
    for (; i < length; ++i) {
        int d = hex ? HexValue(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0) break;
        value = value * (hex ? 16u : 10u) + static_cast<uint32_t>(d);
        if (value > 0x10FFFF) value = 0x110000;  // saturate: any larger value is invalid anyway
        ++digits;
    }
    if (digits == 0) return -1;
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) value = 0xFFFD;
    codePoint = value;
    return (i < length && text[i] == ';') ? i + 1 : i;
}

}  // namespace

int PreProcessXmlText(unit16* text, int length, int flags, const unit16* charsetTable,
                      EntityHandling entities) {
    const bool pre = (flags & TXT_PREFORMATTED) && !(flags & TXT_SPLIT_INDENTED_LINES);
    int w = 0;
    bool lastWasSpace = false;
    unit16 previous = 0;  // the previous input unit, before any rewriting
    for (int r = 0; r < length;) {
        unit16 c = text[r];
        const unit16 original = c;
        if (pre) {
            if (c == '\r') {
                const bool nextIsLf = r + 1 < length && text[r + 1] == '\n';
                if (previous == '\n' || nextIsLf) {
                    previous = original;
                    ++r;
                    continue;
                }
                c = '\n';
            }
        } else if (c == '\r' || c == '\n' || c == '\t') {
            c = ' ';
        }

        if (c == '&' && entities == EntityHandling::Decode && r + 1 < length) {
            const unit16 next = text[r + 1];
            if (next == '#') {
                uint32_t codePoint = 0;
                int after = DecodeNumeric(text, length, r, codePoint);
                if (after > 0) {
                    unit16 units[2];
                    int n = EncodeUtf16(codePoint, units);
                    for (int k = 0; k < n; ++k)
                        text[w++] = units[k];
                    lastWasSpace = false;
                    previous = text[after - 1];
                    r = after;
                    continue;
                }
            } else if (IsAsciiLetter(next)) {
                // Outside preformatted text a line break or tab ends a name like a space.
                auto isBlank = [pre](unit16 u) {
                    return u == ' ' || (!pre && (u == '\r' || u == '\n' || u == '\t'));
                };
                int end = r + 1;
                while (end < length && end - (r + 1) <= kMaxEntityName && text[end] != ';' &&
                       !isBlank(text[end]) && text[end] != 0)
                    ++end;
                const int nameLength = end - (r + 1);
                unit16 code = 0;
                if (end < length && (text[end] == ';' || isBlank(text[end])) &&
                    nameLength <= kMaxEntityName)
                    code = LookupHtmlEntity(text + r + 1, nameLength);
                if (code) {
                    if (charsetTable && code >= 128 && code <= 255) code = charsetTable[code - 128];
                    text[w++] = code;
                    lastWasSpace = false;
                    previous = text[end];
                    r = end + 1;  // the terminator goes too
                    continue;
                }
            }
            // No entity here: the '&' stays and what follows is ordinary text.
        }

        if (c == ' ') {
            if (pre || !lastWasSpace) text[w++] = ' ';
            lastWasSpace = true;
        } else {
            text[w++] = c;
            lastWasSpace = false;
        }
        previous = original;
        ++r;
    }
    return w;
}

int TrimXmlSpaces(unit16* text, int length, bool keepLeading, bool keepTrailing, PieceEnd end) {
    int start = 0;
    if (!keepLeading && length > 0 && text[0] == ' ') start = 1;
    int stop = length;
    if (end == PieceEnd::EndsRun && !keepTrailing && stop > start && text[stop - 1] == ' ') --stop;
    if (start > 0)
        for (int i = start; i < stop; ++i)
            text[i - start] = text[i];
    return stop - start;
}

void ExpandXmlTabs(const unit16* text, int length, std::vector<unit16>& out) {
    out.clear();
    out.reserve(static_cast<size_t>(length) + 16);
    int column = 0;
    for (int i = 0; i < length; ++i) {
        const unit16 c = text[i];
        if (c == '\t') {
            do {
                out.push_back(' ');
                ++column;
            } while (column % 8 != 0);
            continue;
        }
        out.push_back(c);
        column = (c == '\r' || c == '\n') ? 0 : column + 1;
    }
}

int SafeTextCut(const unit16* text, int cut) {
    if (cut <= 1) return cut;
    // An unfinished '&...' just before the cut: cut before the '&' instead.
    for (int i = cut - 1; i >= 0 && i >= cut - kMaxEntityLookBack; --i) {
        const unit16 c = text[i];
        if (c == ';' || c == ' ' || c == '<') break;
        if (c == '&') {
            if (i > 0) cut = i;
            break;
        }
    }
    if (cut > 1 && IsHighSurrogate(text[cut - 1])) --cut;
    return cut;
}
