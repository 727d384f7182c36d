#pragma once

#include "engine/core/KsString.h"
#include "engine/core/StringCollection.h"

// Value of a hexadecimal digit ('0'-'9', 'a'-'f', 'A'-'F'), or -1.
inline int HexDigitValue(uint32_t unit) {
    if (unit >= '0' && unit <= '9') return static_cast<int>(unit - '0');
    if (unit >= 'a' && unit <= 'f') return static_cast<int>(unit - 'a' + 10);
    if (unit >= 'A' && unit <= 'F') return static_cast<int>(unit - 'A' + 10);
    return -1;
}

enum class SplitPieces { AsIs, Normalized };

// Splits at every occurrence of `separator`. Normalized pieces have their runs of space, tab,
// CR and LF collapsed to one space and their ends trimmed; empty normalized pieces are skipped.
KsString16Collection SplitByChar(const string16& text, unit16 separator,
                                 SplitPieces pieces = SplitPieces::AsIs);
// The same with a separator string; an empty separator gives the whole text as one piece.
KsString16Collection SplitByString(const string16& text, const string16& separator,
                                   SplitPieces pieces = SplitPieces::AsIs);

// When the text is at least `limit` long, cuts it at a word boundary at or before the limit and
// appends "...". The result is never longer than limit + 3.
string16 TruncateAtWord(const string16& text, int32_t limit);

// Replaces %XX escapes. A run of escapes that forms UTF-8 is decoded as UTF-8; other escaped
// bytes become the unit of their value. '%' without two hex digits, and %00, stay as they are.
string16 UrlDecode(const string16& text);
