#include "engine/css/CssLexer.h"

#include "engine/core/Limits.h"

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

}  // namespace

int32_t CssNumber::fixedPoint() const {
    int64_t scale = 1;
    for (int i = 0; i < fractionDigits; ++i)
        scale *= 10;
    int64_t value = integer * 256 + fraction * 256 / scale;
    return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

bool CssLexer::isIdentStart(char c) {
    return IsAsciiLetter(c) || c == '-' || c == '_' || (static_cast<unsigned char>(c) >= 0x80);
}

bool CssLexer::isIdentChar(char c) {
    return isIdentStart(c) || IsDigit(c);
}

int CssLexer::line() const {
    int line = 1;
    for (const char* p = text_; p < pos_; ++p)
        if (*p == '\n') ++line;
    return line;
}

bool CssLexer::skipComment() {
    if (peek() != '/' || peek(1) != '*') return false;
    advance(2);
    while (!atEnd() && !(peek() == '*' && peek(1) == '/'))
        advance();
    advance(2);
    return true;
}

bool CssLexer::skipSpaces() {
    const char* start = pos_;
    for (;;) {
        if (!atEnd() && isSpace(*pos_)) {
            ++pos_;
        } else if (!skipComment()) {
            break;
        }
    }
    return pos_ != start;
}

bool CssLexer::skipChar(char c) {
    if (atEnd() || *pos_ != c) return false;
    ++pos_;
    return true;
}

bool CssLexer::matchWord(const char* word, CssCase match) {
    size_t length = 0;
    for (; word[length]; ++length) {
        char c = peek(length);
        if (c == '\0') return false;
        if (match == CssCase::Insensitive ? LowerAscii(c) != LowerAscii(word[length])
                                          : c != word[length])
            return false;
    }
    if (length == 0) return false;
    char last = word[length - 1];
    if ((IsAsciiLetter(last) || last == '-' || last == '_') && isIdentChar(peek(length)))
        return false;
    advance(length);
    return true;
}

int CssLexer::matchTable(const CssKeywordTable& table, CssCase match) {
    for (int i = 0; i < table.count; ++i)
        if (matchWord(table.words[i], match)) return i;
    return -1;
}

bool CssLexer::readIdentifier(string8& out) {
    if (!isIdentStart(peek())) return false;
    const char* start = pos_;
    while (!atEnd() && isIdentChar(*pos_))
        ++pos_;
    out.Assign(start, static_cast<int32_t>(pos_ - start));
    return true;
}

bool CssLexer::readNumber(CssNumber& out) {
    out = CssNumber();
    bool digits = false;
    const char* start = pos_;
    while (!atEnd() && IsDigit(*pos_)) {
        // Saturates: 10^20 px must neither wrap nor overflow later arithmetic.
        if (out.integer < kMaxCssNumberIntegerPart) {
            out.integer = out.integer * 10 + (*pos_ - '0');
            if (out.integer > kMaxCssNumberIntegerPart) out.integer = kMaxCssNumberIntegerPart;
        }
        digits = true;
        ++pos_;
    }
    if (peek() == '.' && IsDigit(peek(1))) {
        ++pos_;
        while (!atEnd() && IsDigit(*pos_)) {
            // Only the first digits count; the rest are read and dropped.
            if (out.fractionDigits < kMaxCssFractionDigits) {
                out.fraction = out.fraction * 10 + (*pos_ - '0');
                ++out.fractionDigits;
            }
            digits = true;
            ++pos_;
        }
    }
    if (!digits) {
        pos_ = start;
        return false;
    }
    return true;
}

void CssLexer::skipToDeclarationEnd() {
    while (!atEnd() && *pos_ != ';' && *pos_ != '}') {
        if (!skipComment()) ++pos_;
    }
}

void CssLexer::skipBlock() {
    int depth = 0;
    while (!atEnd()) {
        if (skipComment()) continue;
        char c = *pos_++;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth <= 1) return;
            --depth;
        }
    }
}

void CssLexer::skipStatement() {
    while (!atEnd()) {
        if (skipComment()) continue;
        char c = *pos_;
        if (c == '{' || c == '}') return;
        ++pos_;
        if (c == ';') return;
    }
}
