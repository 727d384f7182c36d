#pragma once

#include <cstdint>

#include "engine/css/CssEnums.h"

// What kind of value a property takes.
enum class CssValueKind : uint8_t {
    Keyword,     // one int: position in the property's keyword table
    Hyphenate,   // keyword from one of three tables, stored under code 6
    Color,       // two ints
    Length,      // two ints
    TextIndent,  // a length with optional "-" and "hanging"
    Box,         // margin/padding: eight ints (top, right, bottom, left)
    FontFamily,  // code 13 keyword and/or code 14 font names
    FontNames,   // never written by authors
    Ignored,     // parsed as nothing
};

// A keyword table: the words in value order (position 0 is inherit).
struct CssKeywordTable {
    const char* const* words;
    int count;
};

struct CssPropertyInfo {
    const char* name;
    CssValueKind kind;
    CssKeywordTable keywords;  // for Keyword properties
};

// The property of a code (1..39), or null.
const CssPropertyInfo* CssPropertyInfoFor(CssPropertyCode code);
inline const CssPropertyInfo* CssPropertyInfoFor(int code) {
    return CssPropertyInfoFor(static_cast<CssPropertyCode>(code));
}
constexpr int kCssPropertyCount = 39;

// The three tables whose position is stored for the hyphenation properties (codes 6-9).
extern const CssKeywordTable kCssHyphenateTables[3];
// Generic font families in value order (inherit, serif, sans-serif, cursive, fantasy, monospace).
extern const CssKeywordTable kCssGenericFamilies;

struct CssNamedColor {
    const char* name;
    uint32_t rgb;
};
extern const CssNamedColor kCssNamedColors[];
extern const int kCssNamedColorCount;

// Unit names and their value types, in matching order.
struct CssUnit {
    const char* name;
    CssValueType type;
};
extern const CssUnit kCssUnits[];
extern const int kCssUnitCount;
