#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/KsString.h"
#include "engine/css/CssTables.h"

enum class CssCase { Sensitive, Insensitive };

// A number as written: saturated integer part and the first fraction digits.
struct CssNumber {
    int64_t integer = 0;
    int64_t fraction = 0;
    int fractionDigits = 0;
    // integer * 256 + fraction * 256 / 10^digits (8 fraction bits).
    int32_t fixedPoint() const;
};

// A cursor over CSS text (8-bit, UTF-8). Every reading step either consumes at least one
// character or reports that nothing matched and leaves the position alone, so loops built on it
// always make progress.
class CssLexer {
public:
    CssLexer(const char* text, size_t length) : text_(text), end_(text + length), pos_(text) {}

    bool atEnd() const { return pos_ >= end_; }
    // The character `ahead` places on, or 0 beyond the end.
    char peek(size_t ahead = 0) const { return size_t(end_ - pos_) > ahead ? pos_[ahead] : '\0'; }
    void advance(size_t count = 1) { pos_ = size_t(end_ - pos_) > count ? pos_ + count : end_; }
    size_t offset() const { return size_t(pos_ - text_); }
    void setOffset(size_t offset) { pos_ = text_ + offset; }
    const char* current() const { return pos_; }
    const char* textAt(size_t offset) const { return text_ + offset; }
    size_t remaining() const { return size_t(end_ - pos_); }
    // 1-based line of the position (for reports).
    int line() const;

    // Skips spaces, tabs, line breaks and comments; true when anything was skipped. An
    // unterminated comment runs to the end.
    bool skipSpaces();
    // Consumes `c` when it is next.
    bool skipChar(char c);

    // Matches a word at the position and consumes it: the text starts with the word and, when
    // the word ends with a letter, "-" or "_", no letter, digit, "-" or "_" follows.
    bool matchWord(const char* word, CssCase match = CssCase::Sensitive);
    // The position of the first matching word of a table (consumed), or -1.
    int matchTable(const CssKeywordTable& table, CssCase match = CssCase::Sensitive);

    // An identifier: a letter, "-" or "_" (or a non-ASCII byte), then also digits.
    bool readIdentifier(string8& out);
    // Digits, optionally "." and digits; false (nothing consumed) without a digit.
    bool readNumber(CssNumber& out);

    // Moves to the next ';' or '}' (not consumed) or the end; comments are stepped over whole.
    void skipToDeclarationEnd();
    // Recovery after a broken rule: moves past the block that follows (braces balanced), or
    // past the next '}' when that comes first.
    void skipBlock();
    // Moves past the next ';' unless a '{' or '}' comes first (then it stops before it).
    void skipStatement();

    static bool isIdentStart(char c);
    static bool isIdentChar(char c);
    static bool isSpace(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
    }

private:
    bool skipComment();

    const char* text_;
    const char* end_;
    const char* pos_;
};
